#pragma once

namespace zera {

// The version calculations read; the version resource keeps 1.0.5.1
// (see docs/compatibility.md).
inline constexpr char16_t kVersionText[] = u"Penvira Signature Capture 1.0.6.0";
inline constexpr char16_t kShortVersionText[] = u"1.0.6.0";

}  // namespace zera
