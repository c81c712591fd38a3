#include "plugin_file_kind.h"

#include <array>
#include <cstdint>
#include <fstream>

namespace fmhost {
namespace {

std::uint32_t little(const unsigned char* bytes, int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}

#if defined(_WIN64)
constexpr PluginFileKind kOwnKind = PluginFileKind::Windows64;
#elif defined(_WIN32)
constexpr PluginFileKind kOwnKind = PluginFileKind::Windows32;
#else
constexpr PluginFileKind kOwnKind = PluginFileKind::Linux64;
#endif

}  // namespace

PluginFileKind pluginFileKind(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 64> head{};
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return PluginFileKind::Unknown;
    if (head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') {
        return head[4] == 2 ? PluginFileKind::Linux64 : PluginFileKind::Unknown;  // ELFCLASS64
    }
    if (head[0] != 'M' || head[1] != 'Z') return PluginFileKind::Unknown;
    // The PE header, where the DOS header's last field says, names the machine.
    std::array<unsigned char, 6> pe{};
    in.seekg(little(&head[0x3C], 4));
    if (!in.read(reinterpret_cast<char*>(pe.data()), pe.size()) || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 ||
        pe[3] != 0) {
        return PluginFileKind::Unknown;
    }
    switch (little(&pe[4], 2)) {
        case 0x014C: return PluginFileKind::Windows32;  // IMAGE_FILE_MACHINE_I386
        case 0x8664: return PluginFileKind::Windows64;  // IMAGE_FILE_MACHINE_AMD64
        default: return PluginFileKind::Unknown;
    }
}

std::optional<std::string> otherSystemHint(const std::string& path) {
    const PluginFileKind kind = pluginFileKind(path);
    if (kind == kOwnKind) return std::nullopt;
    switch (kind) {
        case PluginFileKind::Linux64: return "it is a plug-in for Linux: the Linux fmhost loads it";
        case PluginFileKind::Windows32:
            return "it is a plug-in for 32-bit Windows (32-bit FileMaker Pro): the 32-bit fmhost.exe loads it, under wine "
                   "on Linux";
        case PluginFileKind::Windows64:
            return "it is a plug-in for 64-bit Windows (64-bit FileMaker Pro): the 64-bit fmhost.exe loads it, under wine "
                   "on Linux";
        case PluginFileKind::Unknown: break;
    }
    return std::nullopt;
}

}  // namespace fmhost
