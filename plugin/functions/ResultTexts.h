#pragma once

namespace zera {

// The texts scripts compare answers with (see docs/compatibility.md).
inline constexpr char16_t kResultOk[] = u"0";
inline constexpr char16_t kResultUnsigned[] = u"UNSIGNED";
inline constexpr char16_t kResultError[] = u"!!ERROR!!";

}  // namespace zera
