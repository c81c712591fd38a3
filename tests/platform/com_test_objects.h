// Small COM objects for the COM tests: reference counts and calls visible.
#pragma once

#include <ole2.h>

#include <atomic>

// The pad control's class, written out here so that the tests do not take
// it from the code they test.
inline constexpr CLSID kSigPlus{0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};

// An object that counts its references; optionally runnable.
class CountedObject final : public IRunnableObject {
public:
    explicit CountedObject(bool runnable = false, HRESULT runResult = S_OK)
        : runnable_(runnable), runResult_(runResult) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || (runnable_ && riid == IID_IRunnableObject)) {
            *object = static_cast<IRunnableObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE GetRunningClass(LPCLSID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Run(LPBINDCTX) override {
        ++runs;
        return runResult_;
    }
    BOOL STDMETHODCALLTYPE IsRunning() override { return runs > 0; }
    HRESULT STDMETHODCALLTYPE LockRunning(BOOL, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE SetContainedObject(BOOL) override { return S_OK; }

    std::atomic<ULONG> references{1};
    int runs = 0;

private:
    bool runnable_;
    HRESULT runResult_;
};

// A class object that hands out one CountedObject.
class CountingFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        ++creations;
        return product.QueryInterface(riid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

    std::atomic<ULONG> references{1};
    int creations = 0;
    CountedObject product;
};

// {0A1B2C3D-4E5F-4061-8273-94A5B6C7D8E9}: a class no library serves.
inline constexpr CLSID kTestClass{0x0A1B2C3D, 0x4E5F, 0x4061, {0x82, 0x73, 0x94, 0xA5, 0xB6, 0xC7, 0xD8, 0xE9}};

// Initialises COM for one test and undoes it at the end.
class ComScope {
public:
    explicit ComScope(DWORD model = COINIT_APARTMENTTHREADED) : result(CoInitializeEx(nullptr, model)) {}
    ~ComScope() {
        if (SUCCEEDED(result)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    const HRESULT result;
};
