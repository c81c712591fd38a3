// The entry calls a host sends a loaded plug-in, the same whichever loader
// opened the file.
#include "plugin_loader.h"

#include <vector>

namespace fmhost {

HostCallBlock& PluginModule::freshBlock(std::uint8_t callType) {
    block_ = HostCallBlock{};
    block_.callType = callType;
    block_.moduleHandle = reinterpret_cast<std::uintptr_t>(handle_);
    return block_;
}

std::int64_t PluginModule::startup(std::int16_t hostVersion) {
    HostCallBlock& block = freshBlock(kCallStartup);
    block.hostVersion = hostVersion;
    entry_(&block);
    return block.result;
}

void PluginModule::shutdown() { entry_(&freshBlock(kCallShutdown)); }

void PluginModule::preferences() { entry_(&freshBlock(kCallPreferences)); }

std::u16string PluginModule::getString(std::uint8_t stringId) {
    std::vector<char16_t> buffer(kStringBufferChars, u'\0');
    HostCallBlock& block = freshBlock(kCallGetString);
    block.stringId = stringId;
    block.bufferChars = kStringBufferChars;
    block.result = static_cast<decltype(block.result)>(reinterpret_cast<std::uintptr_t>(buffer.data()));
    entry_(&block);
    block.result = 0;  // the buffer is gone when this returns
    std::size_t length = 0;
    while (length < buffer.size() && buffer[length] != u'\0') ++length;
    return std::u16string(buffer.data(), length);
}

}  // namespace fmhost
