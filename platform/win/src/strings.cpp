#include "winplatform/errors.h"
#include "winplatform/resources.h"

#include <cstring>

namespace {

constexpr UINT kStringsPerBlock = 16;

}  // namespace

WINPLATFORM_API int WINAPI LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax) {
    if (buffer == nullptr || bufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Strings live in blocks of sixteen: block (id / 16) + 1, slot id % 16,
    // each slot a 16-bit length and that many UTF-16 units.
    const UINT block = (id & 0xFFFF) / kStringsPerBlock + 1;
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(block), RT_STRING);
    const BYTE* data = resource ? static_cast<const BYTE*>(LockResource(LoadResource(module, resource))) : nullptr;
    const DWORD size = resource ? SizeofResource(module, resource) : 0;

    const BYTE* text = nullptr;
    WORD length = 0;
    if (data != nullptr) {
        DWORD offset = 0;
        for (UINT slot = 0; slot <= id % kStringsPerBlock; ++slot) {
            if (offset + 2 > size) {
                text = nullptr;
                length = 0;
                break;
            }
            length = static_cast<WORD>(data[offset] | (data[offset + 1] << 8));
            text = data + offset + 2;
            if (offset + 2 + 2u * length > size) {
                text = nullptr;
                length = 0;
                break;
            }
            offset += 2 + 2u * length;
        }
    }

    if (bufferMax == 0) {
        // The caller asked for a pointer to the resource's own text.
        const WCHAR* pointer = reinterpret_cast<const WCHAR*>(text);
        std::memcpy(buffer, &pointer, sizeof pointer);
        return text ? length : 0;
    }
    if (text == nullptr || length == 0) {
        buffer[0] = 0;
        if (text == nullptr) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const int copied = length < bufferMax ? length : bufferMax - 1;
    std::memcpy(buffer, text, static_cast<std::size_t>(copied) * sizeof(WCHAR));
    buffer[copied] = 0;
    return copied;
}
