// The platform's small COM object base is plain C++ over the COM types; the
// Windows test programs use it as it is.
#pragma once

#include "../../../../platform/win/include/winplatform/com_object.h"
