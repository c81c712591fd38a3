// The host's conversions between numbers, texts and 8-bit strings.
#include "objects.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace fmw {

std::u16string numberToText(double number) {
    if (number == 0.0) {
        return u"0";  // also for -0, which the host never shows
    }
    // Plain decimals for everyday magnitudes, so a million reads "1000000"
    // rather than "1e+06"; exponent form only for the very large and small.
    const double magnitude = std::fabs(number);
    const bool plain = magnitude >= 1e-6 && magnitude < 1e21;
    char buffer[64];  // plain form stays below 1e21, so at most ~25 characters
    const auto converted = plain ? std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed)
                                 : std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::u16string(buffer, converted.ptr);
}

double textToNumber(std::u16string_view text) {
    std::string integral;
    std::string fraction;
    bool negative = false;
    bool inFraction = false;
    bool seenDigit = false;
    for (const char16_t unit : text) {
        if (unit >= u'0' && unit <= u'9') {
            (inFraction ? fraction : integral).push_back(static_cast<char>(unit));
            seenDigit = true;
        } else if (unit == u'.' && !inFraction) {
            inFraction = true;
        } else if (unit == u'-' && !seenDigit) {
            negative = true;
        }
    }
    if (!seenDigit) {
        return 0.0;
    }
    std::string decimal = integral.empty() ? "0" : integral;
    if (!fraction.empty()) {
        decimal += '.';
        decimal += fraction;
    }
    double value = 0.0;
    const auto parsed = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Too many integral digits overflow; a fraction of zeros underflows.
        const bool large = integral.find_first_not_of('0') != std::string::npos;
        value = large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::int32_t numberToLong(double number) {
    if (std::isnan(number)) {
        return 0;
    }
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (number >= kMax) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (number <= kMin) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(number);  // truncates toward zero
}

std::u16string Value::asText() const {
    switch (type_) {
        case Type::Text:
            return text_;
        case Type::Number:
            return numberToText(number_);
        case Type::Container:
            return container_.fileName.value_or(std::u16string());
        case Type::Empty:
            break;
    }
    return {};
}

double Value::asNumber() const {
    switch (type_) {
        case Type::Number:
            return number_;
        case Type::Text:
            return textToNumber(text_);
        case Type::Container:
        case Type::Empty:
            break;
    }
    return 0.0;
}

namespace detail {

std::u16string decodeWindows1252(const char* text) {
    // 0x80-0x9F are where Windows-1252 differs from Latin-1; 0 marks the
    // five bytes the code page leaves undefined.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
    };
    std::u16string units;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte >= 0x80 && byte <= 0x9F) {
            const char16_t mapped = kHigh[byte - 0x80];
            units.push_back(mapped != 0 ? mapped : u'\uFFFD');
        } else {
            units.push_back(static_cast<char16_t>(byte));
        }
    }
    return units;
}

}  // namespace detail
}  // namespace fmw
