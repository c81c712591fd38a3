#include <objbase.h>

#include <cstddef>
#include <initializer_list>

namespace {

int hexValue(OLECHAR c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at text[at]; false on any other unit.
bool readHex(LPCOLESTR text, std::size_t at, int digits, std::uint64_t& value) {
    value = 0;
    for (int i = 0; i < digits; ++i) {
        const int v = hexValue(text[at + static_cast<std::size_t>(i)]);
        if (v < 0) return false;
        value = (value << 4) | static_cast<std::uint64_t>(v);
    }
    return true;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": exactly 38 units.
bool parseGuid(LPCOLESTR text, GUID& guid) {
    if (text == nullptr) return false;
    std::size_t length = 0;
    while (length <= 38 && text[length] != 0) ++length;
    if (length != 38) return false;
    if (text[0] != u'{' || text[37] != u'}') return false;
    for (const std::size_t dash : {std::size_t{9}, std::size_t{14}, std::size_t{19}, std::size_t{24}}) {
        if (text[dash] != u'-') return false;
    }
    std::uint64_t v = 0;
    if (!readHex(text, 1, 8, v)) return false;
    guid.Data1 = static_cast<DWORD>(v);
    if (!readHex(text, 10, 4, v)) return false;
    guid.Data2 = static_cast<WORD>(v);
    if (!readHex(text, 15, 4, v)) return false;
    guid.Data3 = static_cast<WORD>(v);
    const std::size_t bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i) {
        if (!readHex(text, bytePositions[i], 2, v)) return false;
        guid.Data4[i] = static_cast<BYTE>(v);
    }
    return true;
}

HRESULT fromString(LPCOLESTR text, GUID* guid, HRESULT malformed) {
    if (guid == nullptr) return E_INVALIDARG;
    GUID parsed{};
    if (!parseGuid(text, parsed)) {
        *guid = GUID_NULL;
        return malformed;
    }
    *guid = parsed;
    return S_OK;
}

}  // namespace

WINPLATFORM_API HRESULT WINAPI CLSIDFromString(LPCOLESTR text, LPCLSID clsid) {
    // As on Windows, no text at all reads as the null class.
    if (text == nullptr && clsid != nullptr) {
        *clsid = CLSID_NULL;
        return S_OK;
    }
    return fromString(text, clsid, CO_E_CLASSSTRING);
}

WINPLATFORM_API HRESULT WINAPI IIDFromString(LPCOLESTR text, LPIID iid) {
    return fromString(text, iid, E_INVALIDARG);
}

WINPLATFORM_API int WINAPI StringFromGUID2(REFGUID guid, LPOLESTR buffer, int bufferLength) {
    constexpr int kUnits = 39;
    if (buffer == nullptr || bufferLength < kUnits) return 0;
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::size_t at = 0;
    auto put = [&](std::uint64_t value, int digits) {
        for (int i = digits - 1; i >= 0; --i) buffer[at++] = kDigits[(value >> (4 * i)) & 0xF];
    };
    buffer[at++] = u'{';
    put(guid.Data1, 8);
    buffer[at++] = u'-';
    put(guid.Data2, 4);
    buffer[at++] = u'-';
    put(guid.Data3, 4);
    buffer[at++] = u'-';
    put(guid.Data4[0], 2);
    put(guid.Data4[1], 2);
    buffer[at++] = u'-';
    for (int i = 2; i < 8; ++i) put(guid.Data4[i], 2);
    buffer[at++] = u'}';
    buffer[at] = 0;
    return kUnits;
}
