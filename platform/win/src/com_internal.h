// What the COM sources share among themselves.
#pragma once

#include <objbase.h>

namespace winplatform::com {

// Whether the calling thread has initialised COM.
bool initialisedOnThisThread();

// The class object registered with CoRegisterClassObject for a class in one
// of the given contexts, queried for riid; S_FALSE when there is none.
HRESULT registeredClassObject(REFCLSID clsid, DWORD classContext, REFIID riid, void** object);

// Revokes the class objects that the calling thread registered.
void revokeClassObjectsOfThisThread();

}  // namespace winplatform::com
