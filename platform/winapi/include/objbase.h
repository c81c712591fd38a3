// The COM library: apartments, object creation from class registrations,
// class objects registered by the running program, and GUID text.
//
// Initialisation is counted per thread, as on Windows: the first
// CoInitializeEx of a thread answers S_OK, each further one with the same
// concurrency model S_FALSE, one with the other model RPC_E_CHANGED_MODE (and
// is not counted); every successful call is paired with one CoUninitialize.
// Creating objects on a thread that has not initialised COM fails with
// CO_E_NOTINITIALIZED.
//
// Classes are found, in this order, among the class objects that the program
// registered with CoRegisterClassObject and among the in-process servers of
// the class registry (winplatform/com_registry.h): a shared library that is
// loaded and asked for the class object through its DllGetClassObject export.
// A class found in neither fails with REGDB_E_CLASSNOTREG.
#pragma once

#include "guiddef.h"
#include "objidl.h"
#include "unknwn.h"
#include "winerror.h"
#include "winplatform/types.h"

using OLECHAR = WCHAR;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;

// The declaration of an exported COM entry of a module (DllGetClassObject).
#define STDAPI extern "C" __attribute__((visibility("default"))) HRESULT
#define STDAPI_(type) extern "C" __attribute__((visibility("default"))) type

inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;
inline constexpr DWORD COINIT_DISABLE_OLE1DDE = 0x4;
inline constexpr DWORD COINIT_SPEED_OVER_MEMORY = 0x8;

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

inline constexpr DWORD REGCLS_SINGLEUSE = 0;
inline constexpr DWORD REGCLS_MULTIPLEUSE = 1;
inline constexpr DWORD REGCLS_MULTI_SEPARATE = 2;

struct COSERVERINFO;

// The export that an in-process server library provides.
using LPFNGETCLASSOBJECT = HRESULT (*)(REFCLSID clsid, REFIID riid, LPVOID* object);

WINPLATFORM_API HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD coInit);
WINPLATFORM_API HRESULT WINAPI CoInitialize(LPVOID reserved);
// Undoes one successful initialisation of the calling thread. The last one
// revokes the class objects that the thread registered.
WINPLATFORM_API void WINAPI CoUninitialize();

// The class object of a class, asked for the interface riid. The server
// information of remote activation is not supported and must be null.
WINPLATFORM_API HRESULT WINAPI CoGetClassObject(REFCLSID clsid, DWORD classContext, COSERVERINFO* serverInfo,
                                                REFIID riid, LPVOID* object);
// Creates one object of a class through its class object.
WINPLATFORM_API HRESULT WINAPI CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD classContext, REFIID riid,
                                                LPVOID* object);

// Makes a class object known to CoGetClassObject and CoCreateInstance in the
// given class contexts until it is revoked (or the registering thread
// uninitialises COM for the last time). The object is held with a reference.
WINPLATFORM_API HRESULT WINAPI CoRegisterClassObject(REFCLSID clsid, LPUNKNOWN classObject, DWORD classContext,
                                                     DWORD flags, LPDWORD cookie);
WINPLATFORM_API HRESULT WINAPI CoRevokeClassObject(DWORD cookie);

// GUID text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", hexadecimal digits of
// either case. A malformed text fails with CO_E_CLASSSTRING (class IDs) or
// E_INVALIDARG (interface IDs) and leaves the result zeroed.
WINPLATFORM_API HRESULT WINAPI CLSIDFromString(LPCOLESTR text, LPCLSID clsid);
WINPLATFORM_API HRESULT WINAPI IIDFromString(LPCOLESTR text, LPIID iid);
// Writes the text form (upper case, 39 units with the terminator); returns
// the units written, terminator included, or 0 when the buffer is too small.
WINPLATFORM_API int WINAPI StringFromGUID2(REFGUID guid, LPOLESTR buffer, int bufferLength);
