// The control object behind CLSID_SigPlus.
#pragma once

#include <unknwn.h>

namespace sigplus {

// A new control object asked for riid (the object is released again when
// the query fails).
HRESULT createControl(REFIID riid, void** object);

}  // namespace sigplus
