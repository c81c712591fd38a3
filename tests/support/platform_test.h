// What the tests of the system API share on both systems: the system they
// run on, the seam between their UTF-16 literals and the API's wide type,
// and the object counts that only the Linux stand-in keeps.
#pragma once

#include <platform/wide_text.h>

#if defined(_WIN32)
inline constexpr bool kOnWindows = true;
// Windows keeps no count of a process's live files, handles, BSTRs, bitmaps
// or COM initialisations; the stand-in's counts (winplatform/diagnostics.h) are its
// own extension, so on Windows a check of one is left out, and a case that
// checks nothing else is skipped.
#define STAND_IN_COUNT(...) static_cast<void>(0)
#define SKIP_STAND_IN_COUNT_CASE() \
    GTEST_SKIP() << "Windows keeps no such count; it is the stand-in's own extension"
#else
#include <winplatform/diagnostics.h>
inline constexpr bool kOnWindows = false;
#define STAND_IN_COUNT(...) __VA_ARGS__
#define SKIP_STAND_IN_COUNT_CASE() static_cast<void>(0)
#endif

using platform::utf16;
using platform::wide;
