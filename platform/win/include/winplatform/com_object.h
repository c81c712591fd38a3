// The small COM object base under the platform library's names; the base
// itself is plain C++ and lives with the portable pieces.
#pragma once

#include "unknwn.h"

#include <platform/com_object.h>

namespace winplatform {

using platform::answerQuery;
using platform::ComObject;
using platform::InterfaceEntry;

}  // namespace winplatform
