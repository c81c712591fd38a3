// The control's IDispatch plumbing, apart from what its members do: a call
// is checked against its member's kind and types, its VARIANT arguments are
// read, the member runs, and its result or exception is written back for
// the caller. Every call so made is offered to the journal.
#pragma once

#include "members.h"

#include <oaidl.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace sigplus {

// A value a call gives back; only SignatureText gives a text.
struct Value {
    ValueType type = ValueType::None;
    std::int32_t number = 0;
    std::u16string text;
};

// An argument as passed: a text stays the caller's, for the call.
struct Argument {
    ValueType type = ValueType::None;
    std::int32_t number = 0;
    std::u16string_view text;
};

// What a member answered: a status, a value, and for DISP_E_EXCEPTION the
// exception's code and words.
struct Outcome {
    HRESULT status = S_OK;
    Value result;
    SCODE code = S_OK;
    const char* description = nullptr;
};

inline Outcome failure(SCODE code, const char* description) {
    Outcome outcome;
    outcome.status = DISP_E_EXCEPTION;
    outcome.code = code;
    outcome.description = description;
    return outcome;
}

inline Outcome refusal(HRESULT status) {
    Outcome outcome;
    outcome.status = status;
    return outcome;
}

inline Outcome number(ValueType type, std::int32_t value) {
    Outcome outcome;
    outcome.result.type = type;
    outcome.result.number = value;
    return outcome;
}

// What the members do, for the plumbing to call with arguments already of
// their member's types. A member that runs out of memory throws bad_alloc.
class MemberCalls {
public:
    virtual Outcome get(const Member& member) = 0;
    virtual Outcome put(const Member& member, const Argument& value) = 0;
    virtual Outcome method(const Member& member, std::span<const Argument> arguments) = 0;

protected:
    ~MemberCalls() = default;
};

// IDispatch::Invoke of member `id` on `members`, for the journal's object
// number `object`.
HRESULT invokeMember(MemberCalls& members, ULONG object, DISPID id, REFIID riid, WORD flags, const DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError);

}  // namespace sigplus
