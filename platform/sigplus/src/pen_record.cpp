// Pen input as the record a pad script hands to the control: "pen", then
// one "time:x,y" per point. The control reads it back strictly: points in
// time order, on the screen, no more than a record may hold.
#include "sigplus/pen_record.h"

#include <cstdint>

namespace sigplus {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string formatPenInput(const PenInput& input) {
    std::string out = "pen";
    for (const PenPoint& p : input.points) {
        out += ' ';
        out += std::to_string(p.timeMs);
        out += ':';
        out += std::to_string(p.x);
        out += ',';
        out += std::to_string(p.y);
    }
    return out;
}

std::optional<PenInput> parsePenInput(std::string_view payload) {
    constexpr std::string_view kTag = "pen";
    if (payload.substr(0, kTag.size()) != kTag) return std::nullopt;
    std::size_t pos = kTag.size();

    // Digits up to a limit; leading zeros are allowed, values past the
    // limit are refused before they can overflow.
    const auto number = [&](std::uint64_t limit) -> std::optional<std::uint64_t> {
        const std::size_t start = pos;
        std::uint64_t value = 0;
        while (pos < payload.size() && isDigit(payload[pos])) {
            value = value * 10 + static_cast<std::uint64_t>(payload[pos] - '0');
            if (value > limit) return std::nullopt;
            ++pos;
        }
        if (pos == start) return std::nullopt;
        return value;
    };
    const auto expect = [&](char c) {
        if (pos >= payload.size() || payload[pos] != c) return false;
        ++pos;
        return true;
    };

    PenInput input;
    while (pos < payload.size()) {
        if (!expect(' ') || input.points.size() == kMaxPenPoints) return std::nullopt;
        const auto t = number(kMaxScriptMs);
        if (!t || !expect(':')) return std::nullopt;
        const auto x = number(kPadScreenWidth - 1);
        if (!x || !expect(',')) return std::nullopt;
        const auto y = number(kPadScreenHeight - 1);
        if (!y) return std::nullopt;
        const auto time = static_cast<std::uint32_t>(*t);
        if (!input.points.empty() && time < input.points.back().timeMs) return std::nullopt;
        input.points.push_back({static_cast<std::int16_t>(*x), static_cast<std::int16_t>(*y), time});
    }
    if (input.points.empty()) return std::nullopt;
    return input;
}

}  // namespace sigplus
