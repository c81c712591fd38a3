// GUIDs: the 128-bit identifiers of COM classes (CLSID) and interfaces (IID).
#pragma once

#include "winplatform/types.h"

#include <bit>
#include <cstdint>

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];

    // As two 64-bit halves: every dispatch call compares its interface ID,
    // and a member-by-member comparison costs a dozen compares.
    friend constexpr bool operator==(const GUID& a, const GUID& b) {
        struct Halves {
            std::uint64_t low;
            std::uint64_t high;
        };
        const auto x = std::bit_cast<Halves>(a);
        const auto y = std::bit_cast<Halves>(b);
        return x.low == y.low && x.high == y.high;
    }
};

static_assert(sizeof(GUID) == 16, "a GUID is 128 bits with no padding");

using IID = GUID;
using CLSID = GUID;
using LPGUID = GUID*;
using LPIID = IID*;
using LPCLSID = CLSID*;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

inline constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;
inline constexpr CLSID CLSID_NULL = GUID_NULL;

inline constexpr bool IsEqualGUID(REFGUID a, REFGUID b) { return a == b; }
inline constexpr bool IsEqualIID(REFIID a, REFIID b) { return a == b; }
inline constexpr bool IsEqualCLSID(REFCLSID a, REFCLSID b) { return a == b; }
