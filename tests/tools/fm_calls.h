// What a function handler does with the host's runtime, in a few lines: read
// a text parameter, answer a text or a container. Shared by the toy plug-in
// and the evaluator tests, whose handlers are written the way a plug-in's are.
#pragma once

#include "FMWrapper/FMWrapper.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fmcalls {

inline HostError freshError() { return HostError{kHostErrorVersion, 0}; }

inline std::uint32_t parameterCount(const fmx::DataVect* parameters) {
    HostError error = freshError();
    return FM_DataVect_Size(parameters, error);
}

inline std::u16string textParameter(const fmx::DataVect* parameters, std::uint32_t position) {
    HostError error = freshError();
    const fmx::Text* text = FM_DataVect_AtAsText(parameters, position, error);
    if (text == nullptr) return {};
    const std::uint32_t size = FM_Text_GetSize(text, error);
    std::u16string out(size, u'\0');
    if (size > 0) FM_Text_GetUnicode(text, out.data(), 0, size, error);
    return out;
}

inline void setText(fmx::Data* result, const std::u16string& value) {
    HostError error = freshError();
    fmx::Text* text = FM_Text_Constructor1(error);
    FM_Text_AssignUnicode(text, value.c_str(), error);
    FM_Data_SetAsText(result, text, FM_Data_GetLocale(result, error), kTextNative, error);
    FM_Text_Delete(text, error);
}

struct StreamBytes {
    char type[4];
    std::vector<std::uint8_t> bytes;
};

inline void setContainer(fmx::Data* result, const std::vector<StreamBytes>& streams,
                         const std::optional<std::u16string>& fileName,
                         const std::optional<std::pair<std::int16_t, std::int16_t>>& size) {
    HostError error = freshError();
    fmx::BinaryData* data = FM_BinaryData_Constructor1(error);
    if (size) FM_BinaryData_AddSIZEData(data, size->first, size->second, error);
    if (fileName) {
        fmx::Text* name = FM_Text_Constructor1(error);
        FM_Text_AssignUnicode(name, fileName->c_str(), error);
        FM_BinaryData_AddFNAMData(data, name, error);
        FM_Text_Delete(name, error);
    }
    for (const StreamBytes& stream : streams) {
        fmx::QuadChar* type =
            FM_QuadChar_Constructor2(stream.type[0], stream.type[1], stream.type[2], stream.type[3], error);
        FM_BinaryData_Add(data, type, static_cast<std::uint32_t>(stream.bytes.size()), stream.bytes.data(), error);
        FM_QuadChar_Delete(type, error);
    }
    FM_Data_SetBinaryData(result, data, false, error);
    FM_BinaryData_Delete(data, error);
}

// Registers one function under a four-character plug-in ID.
inline FMErrcode registerFunction(std::string_view pluginId, std::int16_t id, const std::u16string& name,
                                  const std::u16string& prototype, std::int16_t minArgs, std::int16_t maxArgs,
                                  ExtPluginType handler) {
    HostError error = freshError();
    fmx::QuadChar* quad = FM_QuadChar_Constructor2(pluginId[0], pluginId[1], pluginId[2], pluginId[3], error);
    fmx::Text* nameText = FM_Text_Constructor1(error);
    FM_Text_AssignUnicode(nameText, name.c_str(), error);
    fmx::Text* prototypeText = FM_Text_Constructor1(error);
    FM_Text_AssignUnicode(prototypeText, prototype.c_str(), error);
    const FMErrcode answer = FM_ExprEnv_RegisterExternalFunction(quad, id, nameText, prototypeText, minArgs,
                                                                 maxArgs, 0xFF01u, handler, error);
    FM_Text_Delete(prototypeText, error);
    FM_Text_Delete(nameText, error);
    FM_QuadChar_Delete(quad, error);
    return answer;
}

inline void unregisterFunction(std::string_view pluginId, std::int16_t id) {
    HostError error = freshError();
    fmx::QuadChar* quad = FM_QuadChar_Constructor2(pluginId[0], pluginId[1], pluginId[2], pluginId[3], error);
    FM_ExprEnv_UnRegisterExternalFunction(quad, id, error);
    FM_QuadChar_Delete(quad, error);
}

}  // namespace fmcalls
