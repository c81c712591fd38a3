#include "dispatch.h"

#include "journal_store.h"

#include <oleauto.h>
#include <platform/utf.h>
#include <platform/wide_text.h>

#include <array>
#include <new>
#include <tuple>

namespace sigplus {
namespace {

std::u16string_view bstrView(BSTR text) {
    return text == nullptr ? std::u16string_view() : std::u16string_view(platform::utf16(text), SysStringLen(text));
}

JournalResult journalResult(const Value& value) {
    JournalResult result;
    result.number = value.number;
    switch (value.type) {
    case ValueType::None: break;
    case ValueType::I2:
    case ValueType::I4: result.kind = JournalResult::Kind::Number; break;
    case ValueType::Bool: result.kind = JournalResult::Kind::Bool; break;
    case ValueType::Bstr:
    case ValueType::BstrRef:
        result.kind = JournalResult::Kind::Text;
        result.text = value.text;
        break;
    }
    return result;
}

CallKind kindOf(const Member* member, WORD flags) {
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) return CallKind::Put;
    if (member != nullptr) return member->property ? CallKind::Get : CallKind::Method;
    return (flags & DISPATCH_METHOD) != 0 ? CallKind::Method : CallKind::Get;
}

// Reads an argument of the expected type; false for another type.
bool readArgument(const VARIANT& v, ValueType expected, Argument& value) {
    if (v.vt != variantTypeOf(expected)) return false;
    value.type = expected;
    switch (expected) {
    case ValueType::I2: value.number = v.iVal; break;
    case ValueType::I4: value.number = v.lVal; break;
    case ValueType::Bool: value.number = v.boolVal != VARIANT_FALSE ? 1 : 0; break;
    case ValueType::Bstr: value.text = bstrView(v.bstrVal); break;
    case ValueType::BstrRef:
        if (v.pbstrVal == nullptr) return false;
        value.text = bstrView(*v.pbstrVal);
        break;
    case ValueType::None: return false;
    }
    return true;
}

HRESULT writeResult(const Value& value, VARIANT* result) {
    VariantInit(result);
    switch (value.type) {
    case ValueType::None: return S_OK;
    case ValueType::I2: result->iVal = static_cast<SHORT>(value.number); break;
    case ValueType::I4: result->lVal = value.number; break;
    case ValueType::Bool: result->boolVal = value.number != 0 ? VARIANT_TRUE : VARIANT_FALSE; break;
    case ValueType::Bstr:
    case ValueType::BstrRef:
        result->bstrVal = SysAllocStringLen(platform::wide(value.text.data()), static_cast<UINT>(value.text.size()));
        if (result->bstrVal == nullptr) return E_OUTOFMEMORY;
        break;
    }
    result->vt = variantTypeOf(value.type == ValueType::BstrRef ? ValueType::Bstr : value.type);
    return S_OK;
}

void fillException(EXCEPINFO* exception, const Outcome& outcome) {
    if (exception == nullptr) return;
    *exception = EXCEPINFO{};
    exception->scode = outcome.code;
    exception->bstrSource = SysAllocString(platform::wide(u"SigPlus"));
    const std::u16string description = platform::utf8ToUtf16(outcome.description != nullptr ? outcome.description : "");
    exception->bstrDescription = SysAllocStringLen(platform::wide(description.data()), static_cast<UINT>(description.size()));
}

// Checks the call against the member's kind and types and runs it.
Outcome call(MemberCalls& members, const Member* member, REFIID riid, WORD flags, const DISPPARAMS* params,
             UINT* argumentError) {
    if (member == nullptr) return refusal(DISP_E_MEMBERNOTFOUND);
    if (riid != IID_NULL) return refusal(DISP_E_UNKNOWNINTERFACE);
    static constexpr DISPPARAMS kNoArguments{nullptr, nullptr, 0, 0};
    const DISPPARAMS& p = params != nullptr ? *params : kNoArguments;
    if (p.cArgs > 0 && p.rgvarg == nullptr) return refusal(E_INVALIDARG);
    if (p.cNamedArgs > p.cArgs || (p.cNamedArgs > 0 && p.rgdispidNamedArgs == nullptr)) return refusal(E_INVALIDARG);

    const bool putting = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (member->property) {
        if (putting) {
            if (p.cArgs != 1) return refusal(DISP_E_BADPARAMCOUNT);
            if (p.cNamedArgs != 1 || p.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return refusal(DISP_E_PARAMNOTFOUND);
            Argument value;
            if (!readArgument(p.rgvarg[0], member->type, value)) {
                if (argumentError != nullptr) *argumentError = 0;
                return refusal(DISP_E_TYPEMISMATCH);
            }
            return members.put(*member, value);
        }
        if ((flags & DISPATCH_PROPERTYGET) == 0) return refusal(DISP_E_MEMBERNOTFOUND);
        if (p.cNamedArgs != 0) return refusal(DISP_E_NONAMEDARGS);
        if (p.cArgs != 0) return refusal(DISP_E_BADPARAMCOUNT);
        return members.get(*member);
    }

    if ((flags & DISPATCH_METHOD) == 0 || putting) return refusal(DISP_E_MEMBERNOTFOUND);
    if (p.cNamedArgs != 0) return refusal(DISP_E_NONAMEDARGS);
    if (p.cArgs != member->argumentCount) return refusal(DISP_E_BADPARAMCOUNT);
    std::array<Argument, std::tuple_size_v<decltype(member->arguments)>> arguments;
    for (UINT i = 0; i < p.cArgs; ++i) {
        const UINT slot = p.cArgs - 1 - i;  // the last argument comes first
        if (!readArgument(p.rgvarg[slot], member->arguments[i], arguments[i])) {
            if (argumentError != nullptr) *argumentError = slot;
            return refusal(DISP_E_TYPEMISMATCH);
        }
    }
    return members.method(*member, std::span(arguments.data(), p.cArgs));
}

}  // namespace

HRESULT invokeMember(MemberCalls& members, ULONG object, DISPID id, REFIID riid, WORD flags, const DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    const Member* member = findMember(id);
    Outcome outcome;
    try {
        outcome = call(members, member, riid, flags, params, argumentError);
    } catch (const std::bad_alloc&) {
        outcome = refusal(E_OUTOFMEMORY);
    }
    if (SUCCEEDED(outcome.status) && result != nullptr && outcome.result.type != ValueType::None) {
        outcome.status = writeResult(outcome.result, result);
    }
    if (outcome.status == DISP_E_EXCEPTION) fillException(exception, outcome);
    if (journalling()) {
        appendJournal(object, id, kindOf(member, flags), params, outcome.status, journalResult(outcome.result));
    }
    return outcome.status;
}

}  // namespace sigplus
