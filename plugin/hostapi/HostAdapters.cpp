#include "HostAdapters.h"

#include "HostCall.h"
#include "HostHandles.h"

#include <vector>

namespace zera {

std::uint32_t parameterCount(const fmx::DataVect* parameters) {
    return hostCall([&](HostError& error) { return FM_DataVect_Size(parameters, error); });
}

std::u16string readTextParam(const fmx::DataVect* parameters, std::uint32_t position) {
    const fmx::Text* text =
        hostCall([&](HostError& error) { return FM_DataVect_AtAsText(parameters, position, error); });
    const std::uint32_t size = hostCall([&](HostError& error) { return FM_Text_GetSize(text, error); });
    // One unit more than the text holds, zero-filled, so the copy always
    // ends in a zero unit.
    std::vector<char16_t> buffer(static_cast<std::size_t>(size) + 1, u'\0');
    hostCall([&](HostError& error) { FM_Text_GetUnicode(text, buffer.data(), 0, size + 1, error); });
    return std::u16string(buffer.data());
}

std::int32_t readIntegerParam(const fmx::DataVect* parameters, std::uint32_t position) {
    const fmx::FixPt* number =
        hostCall([&](HostError& error) { return FM_DataVect_AtAsNumber(parameters, position, error); });
    return hostCall([&](HostError& error) { return FM_FixPt_AsLong(number, error); });
}

void assignText(fmx::Text* text, const std::u16string& value) {
    hostCall([&](HostError& error) { FM_Text_AssignUnicode(text, value.c_str(), error); });
}

void setTextResult(fmx::Data* result, const std::u16string& text) {
    TextHandle hostText;
    assignText(hostText.get(), text);
    const fmx::Locale* locale = hostCall([&](HostError& error) { return FM_Data_GetLocale(result, error); });
    hostCall([&](HostError& error) { return FM_Data_SetAsText(result, hostText.get(), locale, kTextNative, error); });
}

}  // namespace zera
