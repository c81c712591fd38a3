// The subset of the Win32 API that this project's code calls, implemented
// for Linux by the winplatform library. On Windows the system's own
// <windows.h> is used instead and this folder is not on the include path.
#pragma once

#include "winplatform/types.h"
#include "winplatform/errors.h"
#include "winplatform/handles.h"
#include "winplatform/codepages.h"
#include "winplatform/resources.h"
#include "winplatform/actctx.h"
#include "winplatform/files.h"
#include "winplatform/system.h"
#include "winplatform/crt.h"
#include "winplatform/message_box.h"
#include "winplatform/gdi.h"
#include "winerror.h"
#ifndef WIN32_LEAN_AND_MEAN
#include "ole2.h"
#endif
