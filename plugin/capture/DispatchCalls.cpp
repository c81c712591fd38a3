#include "DispatchCalls.h"

#include <platform/com_values.h>

namespace zera {

using platform::UniqueBstr;
using platform::UniqueVariant;

void DispatchCalls::raiseFromException(HRESULT status, EXCEPINFO& information) const {
    // The error information's strings belong to the caller once Invoke
    // returns.
    const UniqueBstr source(information.bstrSource);
    const UniqueBstr description(information.bstrDescription);
    const UniqueBstr helpFile(information.bstrHelpFile);
    raiseFailure(status, description.text());
}

void DispatchCalls::invoke(DISPID member, WORD flags, VARIANT* arguments, UINT count, VARIANT* result) {
    const platform::ComPtr<IDispatch> target = dispatchInterface();
    if (!target) raiseFailure(E_POINTER, u"");
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{};
    parameters.rgvarg = count == 0 ? nullptr : arguments;
    parameters.cArgs = count;
    if (flags == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &namedPut;
        parameters.cNamedArgs = 1;
    }
    EXCEPINFO information{};
    UINT argumentError = 0;
    const HRESULT status =
        target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result, &information, &argumentError);
    if (FAILED(status)) raiseFromException(status, information);
}

void DispatchCalls::callI2ForEachByte(DISPID member, std::span<std::uint8_t> bytes) {
    const platform::ComPtr<IDispatch> target = dispatchInterface();
    if (!target) raiseFailure(E_POINTER, u"");
    VARIANT in;
    in.vt = VT_I4;
    DISPPARAMS parameters{&in, nullptr, 1, 0};
    // Filled in by a failed call only, which ends the loop.
    EXCEPINFO information{};
    UINT argumentError = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        in.lVal = static_cast<std::int32_t>(i);
        // An I2 owns nothing: only another kind of answer needs clearing.
        VARIANT out;
        out.vt = VT_EMPTY;
        const HRESULT status = target->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                              &out, &information, &argumentError);
        if (FAILED(status)) raiseFromException(status, information);
        if (out.vt != VT_I2) {
            VariantClear(&out);
            raiseFailure(DISP_E_TYPEMISMATCH, u"");
        }
        bytes[i] = static_cast<std::uint8_t>(out.iVal & 0xFF);
    }
}

void DispatchCalls::invokeMethod(DISPID member, Arguments arguments, VARIANT* result) {
    if (arguments.size() > kMaxArguments) raiseFailure(DISP_E_BADPARAMCOUNT, u"");
    // Integers and BSTR addresses own nothing, so the variants need no
    // clearing afterwards.
    VariantArguments variants;
    variants.count = static_cast<UINT>(arguments.size());
    UINT slot = variants.count;
    for (const DispatchArgument& a : arguments) {
        VARIANT& v = variants.values[--slot];
        VariantInit(&v);
        v.vt = a.type;
        if (a.type == VT_I2) v.iVal = static_cast<SHORT>(a.integer);
        if (a.type == VT_I4) v.lVal = a.integer;
        if (a.type == (VT_BSTR | VT_BYREF)) v.pbstrVal = a.text;
    }
    invoke(member, DISPATCH_METHOD, variants.values.data(), variants.count, result);
}

void DispatchCalls::putI2(DISPID member, std::int16_t value) {
    VariantArguments arguments;
    arguments.count = 1;
    arguments.values[0].vt = VT_I2;
    arguments.values[0].iVal = value;
    invoke(member, DISPATCH_PROPERTYPUT, arguments.values.data(), arguments.count, nullptr);
}

void DispatchCalls::putI4(DISPID member, std::int32_t value) {
    VariantArguments arguments;
    arguments.count = 1;
    arguments.values[0].vt = VT_I4;
    arguments.values[0].lVal = value;
    invoke(member, DISPATCH_PROPERTYPUT, arguments.values.data(), arguments.count, nullptr);
}

void DispatchCalls::putText(DISPID member, const std::u16string& value) {
    const UniqueBstr text = UniqueBstr::copyOf(value);
    if (!text) raiseOutOfMemory();
    VariantArguments arguments;
    arguments.count = 1;
    arguments.values[0].vt = VT_BSTR;
    arguments.values[0].bstrVal = text.get();
    invoke(member, DISPATCH_PROPERTYPUT, arguments.values.data(), arguments.count, nullptr);
}

std::u16string DispatchCalls::getText(DISPID member) {
    VariantArguments none;
    UniqueVariant result;
    invoke(member, DISPATCH_PROPERTYGET, none.values.data(), 0, result.put());
    if (result.get().vt != VT_BSTR) raiseFailure(DISP_E_TYPEMISMATCH, u"");
    return platform::bstrText(result.get().bstrVal);
}

void DispatchCalls::call(DISPID member, Arguments arguments) {
    UniqueVariant result;
    invokeMethod(member, arguments, result.put());
}

std::int16_t DispatchCalls::callI2(DISPID member, Arguments arguments) {
    UniqueVariant result;
    invokeMethod(member, arguments, result.put());
    if (result.get().vt != VT_I2) raiseFailure(DISP_E_TYPEMISMATCH, u"");
    return result.get().iVal;
}

std::int32_t DispatchCalls::callI4(DISPID member, Arguments arguments) {
    UniqueVariant result;
    invokeMethod(member, arguments, result.put());
    if (result.get().vt != VT_I4) raiseFailure(DISP_E_TYPEMISMATCH, u"");
    return result.get().lVal;
}

}  // namespace zera
