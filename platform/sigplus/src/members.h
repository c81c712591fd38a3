// The control's dispatch members: name, kind and types of each DISPID.
#pragma once

#include <oaidl.h>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace sigplus {

enum class ValueType : std::uint8_t { None, I2, I4, Bool, Bstr, BstrRef };

struct Member {
    DISPID id;
    const char* name;
    bool property;
    // A property's type, or a method's result (None for no result).
    ValueType type;
    std::uint8_t argumentCount;
    std::array<ValueType, 7> arguments;  // in call order
};

std::span<const Member> members();
const Member* findMember(DISPID id);
// Case-insensitive, as automation names are.
const Member* findMember(std::u16string_view name);

VARTYPE variantTypeOf(ValueType type);

}  // namespace sigplus
