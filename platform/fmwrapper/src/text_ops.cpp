// FM_Text_... and FM_QuadChar_...: texts and four-character codes.
#include "runtime.h"

#include "platform/utf.h"

#include <algorithm>
#include <memory>
#include <string>

using fmw::detail::HostCall;

namespace {

std::uint32_t unitCount(const std::u16string& units) { return static_cast<std::uint32_t>(units.size()); }

}  // namespace

fmx::Text* FM_Text_Constructor1(HostError& error) {
    HostCall call("FM_Text_Constructor1", error);
    if (!call.proceed()) {
        return nullptr;
    }
    return call.adopt(std::make_unique<fmx::Text>());
}

void FM_Text_Delete(fmx::Text* text, HostError& error) {
    HostCall call("FM_Text_Delete", error);
    call.release(text);
}

void FM_Text_AssignUnicode(fmx::Text* text, const char16_t* zeroTerminated, HostError& error) {
    HostCall call("FM_Text_AssignUnicode", error);
    if (!call.proceed() || !call.owned(text) || !call.present(zeroTerminated, "string")) {
        return;
    }
    text->units = zeroTerminated;
}

void FM_Text_Assign(fmx::Text* text, const char* zeroTerminated, int32_t encoding, HostError& error) {
    HostCall call("FM_Text_Assign", error);
    if (!call.proceed() || !call.owned(text) || !call.present(zeroTerminated, "string")) {
        return;
    }
    switch (encoding) {
        case kEncodingNative:
            text->units = fmw::detail::decodeWindows1252(zeroTerminated);
            break;
        case 1:  // UTF-8
            text->units = platform::utf8ToUtf16(zeroTerminated);
            break;
        default:
            call.misuse("unknown encoding " + std::to_string(encoding));
            break;
    }
}

uint32_t FM_Text_GetSize(const fmx::Text* text, HostError& error) {
    HostCall call("FM_Text_GetSize", error);
    if (!call.proceed() || !call.live(text)) {
        return 0;
    }
    return unitCount(text->units);
}

void FM_Text_GetUnicode(const fmx::Text* text, char16_t* destination, uint32_t position, uint32_t count,
                        HostError& error) {
    HostCall call("FM_Text_GetUnicode", error);
    if (!call.proceed() || !call.live(text) || (count > 0 && !call.present(destination, "destination"))) {
        return;
    }
    const std::uint32_t size = unitCount(text->units);
    if (position >= size) {
        return;
    }
    const std::uint32_t copied = std::min(count, size - position);
    std::copy_n(text->units.begin() + static_cast<std::ptrdiff_t>(position), copied, destination);
}

uint32_t FM_Text_Find(const fmx::Text* text, const fmx::Text* pattern, uint32_t position, HostError& error) {
    HostCall call("FM_Text_Find", error);
    // Not found is the only answer that cannot be mistaken for a position.
    if (!call.proceed() || !call.live(text) || !call.live(pattern)) {
        return kTextNotFound;
    }
    const std::size_t found = text->units.find(pattern->units, position);
    return found == std::u16string::npos ? kTextNotFound : static_cast<std::uint32_t>(found);
}

void FM_Text_DeleteText(fmx::Text* text, uint32_t position, uint32_t count, HostError& error) {
    HostCall call("FM_Text_DeleteText", error);
    if (!call.proceed() || !call.owned(text)) {
        return;
    }
    if (position < text->units.size()) {
        text->units.erase(position, count);  // erase stops at the end
    }
}

fmx::QuadChar* FM_QuadChar_Constructor2(char c0, char c1, char c2, char c3, HostError& error) {
    HostCall call("FM_QuadChar_Constructor2", error);
    if (!call.proceed()) {
        return nullptr;
    }
    auto quadChar = std::make_unique<fmx::QuadChar>();
    quadChar->chars = {c0, c1, c2, c3};
    return call.adopt(std::move(quadChar));
}

void FM_QuadChar_Delete(fmx::QuadChar* quadChar, HostError& error) {
    HostCall call("FM_QuadChar_Delete", error);
    call.release(quadChar);
}
