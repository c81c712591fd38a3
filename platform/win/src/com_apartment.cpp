#include "com_internal.h"
#include "process_state.h"

#include "winplatform/diagnostics.h"

#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Apartment {
    std::size_t count = 0;
    DWORD model = COINIT_APARTMENTTHREADED;
};
Apartment& thisApartment() {
    thread_local Apartment* mine = &winplatform::detail::threadShared<Apartment>("com.apartment");
    return *mine;
}

constexpr DWORD kConcurrencyMask = COINIT_APARTMENTTHREADED;

struct Registration {
    CLSID clsid;
    IUnknown* object;
    DWORD classContext;
    std::thread::id thread;
};

struct ClassObjects {
    std::mutex mutex;
    std::map<DWORD, Registration> byCookie;
    DWORD nextCookie = 1;
};

ClassObjects& classObjects() {
    static ClassObjects& instance = winplatform::detail::processShared<ClassObjects>("com.class_objects");
    return instance;
}

}  // namespace

namespace winplatform {

std::size_t comInitCount() { return thisApartment().count; }

namespace com {

bool initialisedOnThisThread() { return thisApartment().count > 0; }

HRESULT registeredClassObject(REFCLSID clsid, DWORD classContext, REFIID riid, void** object) {
    IUnknown* found = nullptr;
    {
        ClassObjects& table = classObjects();
        std::lock_guard lock(table.mutex);
        for (const auto& [cookie, registration] : table.byCookie) {
            if (registration.clsid == clsid && (registration.classContext & classContext) != 0) {
                found = registration.object;
                found->AddRef();  // kept alive while it is queried outside the lock
                break;
            }
        }
    }
    if (found == nullptr) return S_FALSE;
    const HRESULT hr = found->QueryInterface(riid, object);
    found->Release();
    return hr;
}

void revokeClassObjectsOfThisThread() {
    std::vector<IUnknown*> released;
    {
        ClassObjects& table = classObjects();
        std::lock_guard lock(table.mutex);
        for (auto it = table.byCookie.begin(); it != table.byCookie.end();) {
            if (it->second.thread == std::this_thread::get_id()) {
                released.push_back(it->second.object);
                it = table.byCookie.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (IUnknown* object : released) object->Release();
}

}  // namespace com
}  // namespace winplatform

WINPLATFORM_API HRESULT WINAPI CoInitializeEx(LPVOID reserved, DWORD coInit) {
    if (reserved != nullptr) return E_INVALIDARG;
    const DWORD model = coInit & kConcurrencyMask;
    if (thisApartment().count == 0) {
        thisApartment().model = model;
        thisApartment().count = 1;
        return S_OK;
    }
    if (thisApartment().model != model) return RPC_E_CHANGED_MODE;
    ++thisApartment().count;
    return S_FALSE;
}

WINPLATFORM_API HRESULT WINAPI CoInitialize(LPVOID reserved) { return CoInitializeEx(reserved, COINIT_APARTMENTTHREADED); }

WINPLATFORM_API void WINAPI CoUninitialize() {
    if (thisApartment().count == 0) return;
    if (thisApartment().count == 1) winplatform::com::revokeClassObjectsOfThisThread();
    --thisApartment().count;
}

WINPLATFORM_API HRESULT WINAPI CoRegisterClassObject(REFCLSID clsid, LPUNKNOWN classObject, DWORD classContext,
                                                     DWORD flags, LPDWORD cookie) {
    (void)flags;  // every registration serves any number of creations
    if (cookie == nullptr || classObject == nullptr) return E_INVALIDARG;
    *cookie = 0;
    if (!winplatform::com::initialisedOnThisThread()) return CO_E_NOTINITIALIZED;
    if ((classContext & CLSCTX_ALL) == 0) return E_INVALIDARG;
    classObject->AddRef();
    ClassObjects& table = classObjects();
    std::lock_guard lock(table.mutex);
    const DWORD issued = table.nextCookie++;
    table.byCookie.emplace(issued, Registration{clsid, classObject, classContext, std::this_thread::get_id()});
    *cookie = issued;
    return S_OK;
}

WINPLATFORM_API HRESULT WINAPI CoRevokeClassObject(DWORD cookie) {
    IUnknown* released = nullptr;
    {
        ClassObjects& table = classObjects();
        std::lock_guard lock(table.mutex);
        const auto it = table.byCookie.find(cookie);
        if (it == table.byCookie.end()) return CO_E_OBJNOTREG;
        released = it->second.object;
        table.byCookie.erase(it);
    }
    released->Release();
    return S_OK;
}
