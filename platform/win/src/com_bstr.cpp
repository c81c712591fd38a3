#include <oleauto.h>

#include "process_state.h"

#include "winplatform/diagnostics.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

std::atomic<std::size_t>& liveBstrs() {
    static std::atomic<std::size_t>& count = winplatform::detail::processShared<std::atomic<std::size_t>>("oleaut.live_bstrs");
    return count;
}

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

// The allocation starts with the byte length; the BSTR points just after it.
BSTR allocate(const void* bytes, UINT byteLength) {
    // The byte length must fit its 32-bit prefix with room for the terminator.
    if (byteLength > std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(OLECHAR) - 1) return nullptr;
    const std::size_t total = kPrefix + byteLength + sizeof(OLECHAR) + 1;
    auto* block = static_cast<unsigned char*>(std::malloc(total));
    if (block == nullptr) return nullptr;
    const std::uint32_t prefix = byteLength;
    std::memcpy(block, &prefix, kPrefix);
    if (bytes != nullptr) {
        std::memcpy(block + kPrefix, bytes, byteLength);
    } else {
        std::memset(block + kPrefix, 0, byteLength);
    }
    // A whole zero unit after the text, whatever the parity of the length.
    std::memset(block + kPrefix + byteLength, 0, sizeof(OLECHAR) + 1);
    liveBstrs().fetch_add(1, std::memory_order_relaxed);
    return reinterpret_cast<BSTR>(block + kPrefix);
}

std::uint32_t prefixOf(BSTR text) {
    std::uint32_t prefix = 0;
    std::memcpy(&prefix, reinterpret_cast<unsigned char*>(text) - kPrefix, kPrefix);
    return prefix;
}

}  // namespace

namespace winplatform {
std::size_t liveBstrCount() { return liveBstrs().load(std::memory_order_relaxed); }
}  // namespace winplatform

WINPLATFORM_API BSTR WINAPI SysAllocStringLen(const OLECHAR* text, UINT length) {
    if (length > std::numeric_limits<UINT>::max() / sizeof(OLECHAR)) return nullptr;
    return allocate(text, static_cast<UINT>(length * sizeof(OLECHAR)));
}

WINPLATFORM_API BSTR WINAPI SysAllocString(const OLECHAR* text) {
    if (text == nullptr) return nullptr;
    std::size_t length = 0;
    while (text[length] != 0) ++length;
    if (length > std::numeric_limits<UINT>::max()) return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

WINPLATFORM_API BSTR WINAPI SysAllocStringByteLen(LPCSTR bytes, UINT length) { return allocate(bytes, length); }

WINPLATFORM_API void WINAPI SysFreeString(BSTR text) {
    if (text == nullptr) return;
    liveBstrs().fetch_sub(1, std::memory_order_relaxed);
    std::free(reinterpret_cast<unsigned char*>(text) - kPrefix);
}

WINPLATFORM_API UINT WINAPI SysStringLen(BSTR text) {
    return text == nullptr ? 0 : static_cast<UINT>(prefixOf(text) / sizeof(OLECHAR));
}

WINPLATFORM_API UINT WINAPI SysStringByteLen(BSTR text) { return text == nullptr ? 0 : prefixOf(text); }
