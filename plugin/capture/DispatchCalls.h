// Typed calls into a dispatch interface by dispatch ID. Both ways of
// reaching the control, the hosted one and the windowless link, make their
// calls through this; they differ only in where the interface comes from
// and in how a failure is raised.
#pragma once

#include <platform/com_ptr.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

namespace zera {

// One argument of a call: a 16-bit or 32-bit integer, or the address of a
// BSTR (passed by reference).
struct DispatchArgument {
    VARTYPE type;
    std::int32_t integer = 0;
    BSTR* text = nullptr;

    static DispatchArgument i2(std::int16_t value) { return {VT_I2, value, nullptr}; }
    static DispatchArgument i4(std::int32_t value) { return {VT_I4, value, nullptr}; }
    static DispatchArgument bstrByRef(BSTR* value) { return {static_cast<VARTYPE>(VT_BSTR | VT_BYREF), 0, value}; }
};

class DispatchCalls {
public:
    virtual ~DispatchCalls() = default;

    void putI2(DISPID member, std::int16_t value);
    void putI4(DISPID member, std::int32_t value);
    void putText(DISPID member, const std::u16string& value);
    std::u16string getText(DISPID member);

    // A method call; arguments in the order the member lists them.
    using Arguments = std::initializer_list<DispatchArgument>;
    void call(DISPID member, Arguments arguments = {});
    std::int16_t callI2(DISPID member, Arguments arguments = {});
    std::int32_t callI4(DISPID member, Arguments arguments = {});
    // A method of one I4 argument that answers an I2, called for each index
    // 0 .. bytes.size() - 1, each answer's low byte kept: one call per byte,
    // the call's parameters set up once for them all.
    void callI2ForEachByte(DISPID member, std::span<std::uint8_t> bytes);

    // No member of the control takes more.
    static constexpr std::size_t kMaxArguments = 8;

protected:
    // The interface to call; empty when there is none.
    virtual platform::ComPtr<IDispatch> dispatchInterface() const = 0;
    // Raises a failed call: its status and the control's description.
    [[noreturn]] virtual void raiseFailure(HRESULT status, const std::u16string& description) const = 0;
    // Raises a BSTR that could not be made.
    [[noreturn]] virtual void raiseOutOfMemory() const = 0;

private:
    // The variants of one call, last argument first, on the stack: a call
    // costs no allocation, and the image bytes are fetched one per call.
    struct VariantArguments {
        std::array<VARIANT, kMaxArguments> values{};
        UINT count = 0;
    };
    void invoke(DISPID member, WORD flags, VARIANT* arguments, UINT count, VARIANT* result);
    // Frees the exception's strings and raises the failure.
    void raiseFromException(HRESULT status, EXCEPINFO& information) const;
    void invokeMethod(DISPID member, Arguments arguments, VARIANT* result);
};

}  // namespace zera
