// What system a plug-in file is built for, read from its first bytes, so
// that a load that fails can say when the file belongs to the other system
// or the other width.
#pragma once

#include <optional>
#include <string>

namespace fmhost {

enum class PluginFileKind { Unknown, Windows32, Windows64, Linux64 };

PluginFileKind pluginFileKind(const std::string& path);

// Which host program loads a file this one cannot: nothing when the file
// is for this program's own system and width, or of no kind it knows.
std::optional<std::string> otherSystemHint(const std::string& path);

}  // namespace fmhost
