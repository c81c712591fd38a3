// Values and the host objects' shared pieces.
#include "runtime.h"

#include <type_traits>

namespace fmw {

Value Value::text(std::u16string text) {
    Value value;
    value.type_ = Type::Text;
    value.text_ = std::move(text);
    return value;
}

Value Value::number(double number) {
    Value value;
    value.type_ = Type::Number;
    value.number_ = number;
    return value;
}

Value Value::container(Container container) {
    Value value;
    value.type_ = Type::Container;
    value.container_ = std::move(container);
    return value;
}

namespace detail {

const fmx::Locale* defaultLocale() {
    Runtime& state = runtime();
    if (state.defaultLocale == nullptr) {
        state.defaultLocale = new fmx::Locale("host default");
    }
    return state.defaultLocale;
}

Value toValue(const fmx::Data::Content& content) {
    return std::visit(
        [](const auto& held) -> Value {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::u16string>) {
                return Value::text(held);
            } else if constexpr (std::is_same_v<Held, double>) {
                return Value::number(held);
            } else if constexpr (std::is_same_v<Held, Container>) {
                return Value::container(held);
            } else {
                return Value();
            }
        },
        content);
}

fmx::Data::Content toContent(const Value& value) {
    switch (value.type()) {
        case Value::Type::Text:
            return value.textValue();
        case Value::Type::Number:
            return value.numberValue();
        case Value::Type::Container:
            return value.containerValue();
        case Value::Type::Empty:
            break;
    }
    return std::monostate();
}

}  // namespace detail
}  // namespace fmw
