// Pen input as a pad hands it to the control: one record per pen-down to
// pen-up, the points in the pad's screen pixels with their times. Pad
// scripts make these records; on Windows a pad driver sends one to the
// control's window as WM_COPYDATA.
#pragma once

#include "sigplus/api.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sigplus {

// The pad's screen, in pixels; pen positions lie within it (see
// docs/compatibility.md).
inline constexpr int kPadScreenWidth = 240;
inline constexpr int kPadScreenHeight = 64;

// A pad samples the pen at about 125 points a second; a stroke without an
// interval of its own, and a touch, take this long per point.
inline constexpr std::uint32_t kDefaultPointIntervalMs = 8;
// No single duration in a script is longer than ten minutes ...
inline constexpr std::uint32_t kMaxDurationMs = 600'000;
// ... and no script runs longer than a day, so that times fit any counter
// the control keeps.
inline constexpr std::uint32_t kMaxScriptMs = 86'400'000;
// The control counts ink points in 16 bits; no stroke holds more (see
// docs/compatibility.md).
inline constexpr std::size_t kMaxPenPoints = 32767;

// One sample of the pen: where it was on the screen and when, in
// milliseconds since the script began.
struct PenPoint {
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::uint32_t timeMs = 0;

    friend bool operator==(const PenPoint&, const PenPoint&) = default;
};

// One pen-down to pen-up: the pen goes down at the first point, moves
// through the others and lifts at the last. A touch is a single point.
// Never empty; times never decrease.
struct PenInput {
    std::vector<PenPoint> points;

    friend bool operator==(const PenInput&, const PenInput&) = default;
};

// The payload of a pen event: "pen T:X,Y T:X,Y ...", one item per point,
// T in milliseconds, single spaces, e.g. "pen 0:20,40 8:25,42".
SIGPLUS_API std::string formatPenInput(const PenInput& input);
// Reads a payload back; nothing unless it is a well-formed pen record with
// at least one and at most kMaxPenPoints points on the screen, and times
// that never decrease and stay within kMaxScriptMs.
SIGPLUS_API std::optional<PenInput> parsePenInput(std::string_view payload);

// WM_COPYDATA's dwData for a pen record sent to the control's window; the
// data is the record's text ("pen T:X,Y ..."), without a terminator.
inline constexpr std::uintptr_t kPenRecordCopyData = 0x53504E52;  // "SPNR"

}  // namespace sigplus
