// The dialog manager creates only the items of classes it knows; a copy of
// the template without the hosted controls' items is what it is given, and
// the framework creates those controls itself.
#pragma once

#include <afxtemplate.h>

#include <vector>

namespace afx {

// The class text of a template item that names a hosted control.
bool isControlClass(const NameOrNumber& windowClass);

// The extended-format template of `layout` without its hosted controls'
// items, DWORD-aligned as the dialog manager reads it.
std::vector<DWORD> templateWithoutControls(const DialogTemplate& layout);

}  // namespace afx
