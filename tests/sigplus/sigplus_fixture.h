// The control created as the plug-in creates it: through COM, from the
// registered library, driven by DISPID.
#pragma once

#include "sigplus/control.h"
#include "sigplus/journal.h"

#include "winplatform/com_registry.h"
#include "winplatform/diagnostics.h"

#include <gtest/gtest.h>
#include <ole2.h>

#include <cmath>
#include <string>
#include <vector>

namespace sigplus_test {

inline VARIANT i2(SHORT value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I2;
    v.iVal = value;
    return v;
}

inline VARIANT i4(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

inline VARIANT bstrRef(BSTR* text) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR | VT_BYREF;
    v.pbstrVal = text;
    return v;
}

// A control object reached through its dispatch interface.
class Control {
public:
    Control() {
        IUnknown* unknown = nullptr;
        created = CoCreateInstance(sigplus::CLSID_SigPlus, nullptr, 0x17, IID_IUnknown,
                                   reinterpret_cast<void**>(&unknown));
        if (SUCCEEDED(created)) {
            created = unknown->QueryInterface(sigplus::DIID_SigPlus, reinterpret_cast<void**>(&dispatch));
            unknown->Release();
        }
    }
    ~Control() {
        if (dispatch != nullptr) dispatch->Release();
    }
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // A property put with the named DISPID_PROPERTYPUT argument, as a
    // wrapper of the framework sends it.
    HRESULT put(DISPID id, VARIANT value) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &named, 1, 1};
        return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
    }
    HRESULT putI2(DISPID id, SHORT value) { return put(id, i2(value)); }
    HRESULT putText(DISPID id, const std::u16string& text) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        const HRESULT hr = put(id, v);
        VariantClear(&v);
        return hr;
    }
    HRESULT get(DISPID id, VARIANT& result) {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VariantInit(&result);
        return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    }
    std::u16string getText(DISPID id) {
        VARIANT v;
        const HRESULT hr = get(id, v);
        EXPECT_EQ(hr, S_OK);
        EXPECT_EQ(v.vt, VT_BSTR);
        std::u16string text;
        if (SUCCEEDED(hr) && v.vt == VT_BSTR && v.bstrVal != nullptr) text.assign(v.bstrVal, SysStringLen(v.bstrVal));
        VariantClear(&v);
        return text;
    }
    // A method call; the arguments in call order (they are sent reversed).
    HRESULT call(DISPID id, std::vector<VARIANT> arguments = {}, VARIANT* result = nullptr,
                 EXCEPINFO* exception = nullptr, UINT* argumentError = nullptr) {
        std::vector<VARIANT> reversed(arguments.rbegin(), arguments.rend());
        DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), nullptr, static_cast<UINT>(reversed.size()),
                          0};
        if (result != nullptr) VariantInit(result);
        return dispatch->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result, exception, argumentError);
    }
    SHORT callI2(DISPID id, std::vector<VARIANT> arguments = {}) {
        VARIANT result;
        EXPECT_EQ(call(id, std::move(arguments), &result), S_OK);
        EXPECT_EQ(result.vt, VT_I2);
        return result.vt == VT_I2 ? result.iVal : SHORT{-1};
    }
    LONG callI4(DISPID id) {
        VARIANT result;
        EXPECT_EQ(call(id, {}, &result), S_OK);
        EXPECT_EQ(result.vt, VT_I4);
        return result.vt == VT_I4 ? result.lVal : -1;
    }
    void bind(const std::vector<std::u16string>& texts) {
        ASSERT_EQ(call(sigplus::dispid::BindBegin), S_OK);
        for (const std::u16string& text : texts) {
            BSTR b = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
            EXPECT_EQ(call(sigplus::dispid::BindAddText, {bstrRef(&b)}), S_OK);
            SysFreeString(b);
        }
        ASSERT_EQ(call(sigplus::dispid::BindEnd), S_OK);
    }
    HRESULT addStroke(const std::vector<sigplus::Point>& points) { return sigplus::addStroke(dispatch, points); }
    sigplus::Ink ink() {
        sigplus::Ink ink;
        const auto control = sigplus::controlOf(dispatch);
        EXPECT_TRUE(control);
        if (control) control->GetInk(&ink);
        return ink;
    }

    HRESULT created = E_FAIL;
    IDispatch* dispatch = nullptr;
};

// Each test runs with COM initialised and the control registered.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        ASSERT_EQ(winplatform::registerInprocServer(sigplus::CLSID_SigPlus, SIGPLUS_LIBRARY), S_OK);
        sigplus::clearJournal();
        sigplus::setJournalEnabled(true);
        bstrsBefore_ = winplatform::liveBstrCount();
    }
    void TearDown() override {
        sigplus::setJournalEnabled(false);
        EXPECT_EQ(sigplus::liveControlCount(), 0u) << "a control object was not released";
        EXPECT_EQ(winplatform::liveBstrCount(), bstrsBefore_) << "a BSTR was not freed";
        CoUninitialize();
    }

private:
    std::size_t bstrsBefore_ = 0;
};

// A few strokes in the pad's coordinates, like a short signature.
inline sigplus::Ink sampleInk() {
    sigplus::Ink ink;
    sigplus::Stroke loop;
    for (int i = 0; i <= 60; ++i) {
        const double t = i / 60.0 * 6.283;
        loop.push_back({static_cast<std::int16_t>(200 + 150 * t + 60 * std::sin(2 * t)),
                        static_cast<std::int16_t>(350 - 200 * std::sin(t))});
    }
    ink.push_back(loop);
    ink.push_back({{1300, 200}, {1350, 500}, {1400, 250}, {1450, 520}, {1700, 480}});
    ink.push_back({{1750, 300}});
    return ink;
}

inline void addInk(Control& control, const sigplus::Ink& ink) {
    for (const sigplus::Stroke& stroke : ink) ASSERT_EQ(control.addStroke(stroke), S_OK);
}

}  // namespace sigplus_test
