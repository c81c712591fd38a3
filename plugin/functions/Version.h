#pragma once

namespace zera {

inline constexpr char16_t kVersionText[] = u"Penvira Signature Capture 1.0.6.0";
inline constexpr char16_t kShortVersionText[] = u"1.0.6.0";

}  // namespace zera
