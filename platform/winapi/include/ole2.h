// OLE: the COM library, automation, and the running state of objects.
#pragma once

#include "oaidl.h"
#include "objbase.h"
#include "objidl.h"
#include "oleauto.h"

// Puts an object into its running state: calls IRunnableObject::Run when the
// object has that interface; an object without it is running already (S_OK).
WINPLATFORM_API HRESULT WINAPI OleRun(LPUNKNOWN object);
