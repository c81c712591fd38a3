#pragma once

#include <zera/version.h>

namespace zera {

// The version calculations read (cmake/version.cmake); the version resource
// keeps its own (see docs/compatibility.md).
inline constexpr char16_t kVersionText[] = u"Penvira Signature Capture " ZERA_VERSION_TEXT;
inline constexpr char16_t kShortVersionText[] = u"" ZERA_VERSION_TEXT;

}  // namespace zera
