// The automation values that own memory, each freed when its owner goes:
// a BSTR and a VARIANT.
#pragma once

#include <oleauto.h>
#include <platform/wide_text.h>

#include <string>
#include <utility>

namespace platform {

// A BSTR's units; a null BSTR is the empty text.
inline std::u16string bstrText(BSTR value) {
    if (value == nullptr) return {};
    return std::u16string(utf16(value), SysStringLen(value));
}

class UniqueBstr {
public:
    UniqueBstr() = default;
    // Takes over a BSTR the caller owns.
    explicit UniqueBstr(BSTR owned) : value_(owned) {}
    // A new BSTR of `text`; empty when it could not be made.
    static UniqueBstr copyOf(const std::u16string& text) {
        return UniqueBstr(SysAllocStringLen(wide(text.data()), static_cast<UINT>(text.size())));
    }
    ~UniqueBstr() { SysFreeString(value_); }
    UniqueBstr(UniqueBstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }

    BSTR get() const { return value_; }
    // The out-parameter of a call that hands over a BSTR.
    BSTR* put() {
        *this = UniqueBstr();
        return &value_;
    }
    // The address of a by-reference argument: the callee may replace the
    // string, and what it leaves is freed with the owner.
    BSTR* byRef() { return &value_; }
    std::u16string text() const { return bstrText(value_); }
    explicit operator bool() const { return value_ != nullptr; }

private:
    BSTR value_ = nullptr;
};

class UniqueVariant {
public:
    UniqueVariant() { VariantInit(&value_); }
    ~UniqueVariant() { VariantClear(&value_); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;

    // The out-parameter of a call that fills a variant; what was held goes
    // first.
    VARIANT* put() {
        VariantClear(&value_);
        return &value_;
    }
    const VARIANT& get() const { return value_; }

private:
    VARIANT value_;
};

}  // namespace platform
