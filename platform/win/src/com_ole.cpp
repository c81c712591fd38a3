#include <ole2.h>

WINPLATFORM_API HRESULT WINAPI OleRun(LPUNKNOWN object) {
    if (object == nullptr) return E_INVALIDARG;
    IRunnableObject* runnable = nullptr;
    if (FAILED(object->QueryInterface(IID_IRunnableObject, reinterpret_cast<void**>(&runnable))) ||
        runnable == nullptr) {
        return S_OK;
    }
    const HRESULT hr = runnable->Run(nullptr);
    runnable->Release();
    return hr;
}
