// The entry calls a host sends a loaded plug-in, the same whichever loader
// opened the file.
#include "plugin_loader.h"

#include <vector>

namespace fmhost {

fmw::CallBlockBytes& PluginModule::freshBlock(std::uint8_t whichCall) {
    block_ = fmw::CallBlockBytes(whichCall, interfaceVersion_, reinterpret_cast<const void*>(entry_),
                                 reinterpret_cast<std::uintptr_t>(handle_));
    return block_;
}

std::int64_t PluginModule::startup(std::int16_t hostVersion) {
    interfaceVersion_ = hostVersion;
    fmw::CallBlockBytes& block = freshBlock(fmw::kWhichCallInit);
    entry_(block.data());
    return block.result();
}

void PluginModule::shutdown() { entry_(freshBlock(fmw::kWhichCallShutdown).data()); }

void PluginModule::preferences() { entry_(freshBlock(fmw::kWhichCallPreferences).data()); }

std::u16string PluginModule::getString(std::uint8_t stringId) {
    std::vector<char16_t> buffer(kStringBufferChars, u'\0');
    fmw::CallBlockBytes& block = freshBlock(fmw::kWhichCallGetString);
    block.setParm1(stringId);
    block.setParm3(kStringBufferChars);
    block.setResult(reinterpret_cast<std::uintptr_t>(buffer.data()));
    entry_(block.data());
    block.setResult(0);  // the buffer is gone when this returns
    std::size_t length = 0;
    while (length < buffer.size() && buffer[length] != u'\0') ++length;
    return std::u16string(buffer.data(), length);
}

}  // namespace fmhost
