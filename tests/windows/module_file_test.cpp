// The shipped Windows modules read as files: their PE headers, their export
// and import tables (through the cross objdump), their resource sections
// against the .res the Linux build embeds, and the 32-bit module's code at
// the boundary with the host.
#include "res_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<BYTE> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The standard output of a command; the test fails if the command does.
std::string run(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) out.append(buffer.data(), n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

unsigned read16(const std::vector<BYTE>& bytes, std::size_t at) {
    return at + 2 <= bytes.size() ? static_cast<unsigned>(bytes[at] | bytes[at + 1] << 8) : 0;
}
unsigned read32(const std::vector<BYTE>& bytes, std::size_t at) {
    return read16(bytes, at) | read16(bytes, at + 2) << 16;
}

// Lines of `objdump -p` that follow `marker` up to the next blank line.
std::vector<std::string> sectionAfter(const std::string& dump, const std::string& marker) {
    std::vector<std::string> lines;
    const auto start = dump.find(marker);
    if (start == std::string::npos) return lines;
    std::istringstream in(dump.substr(start + marker.size()));
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line) && !line.empty()) lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string keyText(const winplatform::ResourceKey& key) {
    if (key.isNumber) return std::to_string(key.number);
    return std::string(key.text.begin(), key.text.end());
}

struct Resource {
    std::string type, name;
    WORD language;
    std::vector<BYTE> data;
    auto operator<=>(const Resource&) const = default;
};

std::vector<Resource> resourcesOf(const std::vector<BYTE>& resFile) {
    std::vector<Resource> out;
    winplatform::forEachResource(resFile, [&](const winplatform::ResourceEntry& entry) {
        // A .res file starts with an empty entry that stands for no resource.
        if (!(entry.type.isNumber && entry.type.number == 0)) {
            out.push_back({keyText(entry.type), keyText(entry.name), entry.language,
                           std::vector<BYTE>(entry.data.begin(), entry.data.end())});
        }
        return true;
    });
    std::sort(out.begin(), out.end());
    return out;
}

// The resources of a PE file: the three levels of its resource directory
// (type, name, language) and the data each leaf points at.
class PeResources {
public:
    explicit PeResources(const std::vector<BYTE>& file) : file_(file) {
        const std::size_t pe = read32(file, 0x3C);
        const std::size_t sections = pe + 24 + read16(file, pe + 20);
        for (unsigned i = 0; i < read16(file, pe + 6); ++i) {
            const std::size_t header = sections + 40 * std::size_t{i};
            if (header + 40 > file.size()) return;
            if (std::string(reinterpret_cast<const char*>(&file[header]), 6) == std::string(".rsrc\0", 6)) {
                virtualAddress_ = read32(file, header + 12);
                raw_ = read32(file, header + 20);
            }
        }
    }
    std::vector<Resource> list() const {
        std::vector<Resource> out;
        if (raw_ == 0) return out;
        for (const auto& [type, typeDir] : entries(0)) {
            for (const auto& [name, nameDir] : entries(typeDir)) {
                for (const auto& [language, leaf] : entries(nameDir)) {
                    const std::size_t data = read32(file_, raw_ + leaf) - virtualAddress_ + raw_;
                    const std::size_t size = read32(file_, raw_ + leaf + 4);
                    if (data + size > file_.size()) continue;
                    out.push_back({type, name, static_cast<WORD>(std::stoi(language)),
                                   std::vector<BYTE>(file_.begin() + static_cast<std::ptrdiff_t>(data),
                                                     file_.begin() + static_cast<std::ptrdiff_t>(data + size))});
                }
            }
        }
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    // The entries of one directory: their number or name, and the offset
    // of what they point at within the section.
    std::vector<std::pair<std::string, std::size_t>> entries(std::size_t directory) const {
        std::vector<std::pair<std::string, std::size_t>> out;
        const std::size_t at = raw_ + directory;
        const unsigned count = read16(file_, at + 12) + read16(file_, at + 14);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned id = read32(file_, at + 16 + 8 * std::size_t{i});
            const unsigned target = read32(file_, at + 20 + 8 * std::size_t{i});
            std::string key;
            if ((id & 0x80000000u) != 0) {
                const std::size_t name = raw_ + (id & 0x7FFFFFFFu);
                for (unsigned c = 0; c < read16(file_, name); ++c) key.push_back(static_cast<char>(read16(file_, name + 2 + 2 * c)));
            } else {
                key = std::to_string(id);
            }
            out.emplace_back(key, target & 0x7FFFFFFFu);
        }
        return out;
    }

    const std::vector<BYTE>& file_;
    std::size_t virtualAddress_ = 0;
    std::size_t raw_ = 0;
};

struct Module {
    const char* name;
    const char* path;
    const char* objdump;
    unsigned machine;         // IMAGE_FILE_MACHINE_I386 or _AMD64
    unsigned optionalHeader;  // PE32 or PE32+
};

const Module kModules[] = {
    {"fmx_for_32bit_FileMaker", ZERA_WINDOWS_MODULE_I686, ZERA_OBJDUMP_I686, 0x014C, 0x010B},
    {"fmx64_for_64bit_FileMaker", ZERA_WINDOWS_MODULE_X86_64, ZERA_OBJDUMP_X86_64, 0x8664, 0x020B},
};

class ShippedModule : public testing::TestWithParam<Module> {
protected:
    static std::string dump() { return run(std::string(GetParam().objdump) + " -p " + GetParam().path); }
};

TEST_P(ShippedModule, IsADllForItsMachine) {
    const std::vector<BYTE> file = readFile(GetParam().path);
    ASSERT_GE(file.size(), 0x200u);
    ASSERT_EQ(read16(file, 0), 0x5A4Du);  // "MZ"
    const std::size_t pe = read32(file, 0x3C);
    ASSERT_EQ(read32(file, pe), 0x00004550u);  // "PE\0\0"
    EXPECT_EQ(read16(file, pe + 4), GetParam().machine);
    EXPECT_NE(read16(file, pe + 22) & 0x2000u, 0u);  // IMAGE_FILE_DLL
    EXPECT_EQ(read16(file, pe + 24), GetParam().optionalHeader);
}

TEST_P(ShippedModule, ExportsOnlyTheEntryPointUnderTheDllName) {
    const std::string text = dump();
    const auto named = text.find("\nName ");
    ASSERT_NE(named, std::string::npos) << "no export table";
    // "Name <rva> ZERA_VirOrar.dll": the name the export table gives the module.
    const std::string nameLine = text.substr(named + 1, text.find('\n', named + 1) - named - 1);
    EXPECT_EQ(nameLine.substr(nameLine.find_last_of(" \t") + 1), "ZERA_VirOrar.dll");
    std::vector<std::string> exports;
    for (const std::string& line : sectionAfter(text, "[Ordinal/Name Pointer] Table")) {
        const auto bracket = line.find(']');
        if (bracket != std::string::npos) exports.push_back(trimmed(line.substr(bracket + 1)));
    }
    // Undecorated: a cdecl name, as the host looks it up.
    EXPECT_EQ(exports, std::vector<std::string>{"FMExternCallProc"});
}

TEST_P(ShippedModule, ImportsTheHostRuntimeAndOnlySystemDlls) {
    const std::set<std::string> system = {"kernel32.dll", "user32.dll", "gdi32.dll",   "ole32.dll",
                                          "oleaut32.dll", "shlwapi.dll", "msvcrt.dll", "advapi32.dll"};
    std::set<std::string> imported;
    std::istringstream in(dump());
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find("DLL Name:");
        if (at == std::string::npos) continue;
        std::string name = trimmed(line.substr(at + 9));
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        imported.insert(name);
    }
    EXPECT_TRUE(imported.count("fmwrapper.dll"));
    for (const std::string& name : imported) {
        EXPECT_TRUE(name == "fmwrapper.dll" || system.count(name)) << "imports " << name;
    }
}

TEST_P(ShippedModule, CarriesEveryResourceOfTheScriptByteForByte) {
    const std::vector<BYTE> file = readFile(GetParam().path);
    const std::vector<Resource> linked = PeResources(file).list();
    const std::vector<Resource> script = resourcesOf(readFile(ZERA_LINUX_RES));
    EXPECT_EQ(linked.size(), script.size());
    EXPECT_TRUE(linked == script) << "the module's resources differ from the compiled script";

    // What the script is known to hold, so that two empty lists cannot pass.
    std::multiset<std::string> kinds;
    for (const Resource& r : script) kinds.insert(r.type + "/" + r.name);
    for (const char* expected : {"5/11002", "5/11016", "240/11002", "16/1", "24/2", "2/11003", "2/11004", "2/11005",
                                 "2/11030", "2/11036", "2/11038"}) {
        EXPECT_EQ(kinds.count(expected), 1u) << expected;
    }
    EXPECT_GE(std::count_if(script.begin(), script.end(), [](const Resource& r) { return r.type == "6"; }), 1);
    // The file description ends with one blank.
    const auto version = std::find_if(linked.begin(), linked.end(), [](const Resource& r) { return r.type == "16"; });
    ASSERT_NE(version, linked.end());
    std::vector<BYTE> description;
    for (char c : std::string("Signature Capturing Plug-in. ")) {
        description.push_back(static_cast<BYTE>(c));
        description.push_back(0);
    }
    description.push_back(0);
    description.push_back(0);
    EXPECT_NE(std::search(version->data.begin(), version->data.end(), description.begin(), description.end()),
              version->data.end());
}

void PrintTo(const Module& module, std::ostream* out) { *out << module.name; }

INSTANTIATE_TEST_SUITE_P(Windows, ShippedModule, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<Module>& module) { return std::string(module.param.name); });

// A function's code in the module: its address and size from the link map,
// where each function has a section of its own ".text$<mangled name>".
struct FunctionCode {
    std::string section;
    unsigned long address = 0, size = 0;
};

std::vector<FunctionCode> functionsInMap(const std::string& mapPath, const std::string& nameContains) {
    std::ifstream in(mapPath);
    std::vector<FunctionCode> found;
    std::string line, pending;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        // A long section name stands on a line of its own, its address and
        // size on the next.
        if (first.rfind(".text$", 0) == 0) {
            std::string address, size;
            if (!(words >> address >> size)) {
                pending = first;
                continue;
            }
            pending.clear();
            if (first.find(nameContains) != std::string::npos)
                found.push_back({first, std::stoul(address, nullptr, 16), std::stoul(size, nullptr, 16)});
        } else if (!pending.empty() && first.rfind("0x", 0) == 0) {
            std::string size;
            words >> size;
            if (pending.find(nameContains) != std::string::npos && !size.empty())
                found.push_back({pending, std::stoul(first, nullptr, 16), std::stoul(size, nullptr, 16)});
            pending.clear();
        } else {
            pending.clear();
        }
    }
    return found;
}

// The return instructions of the shipped file's code between two addresses.
std::vector<std::string> returnsIn(const FunctionCode& function) {
    std::ostringstream command;
    command << ZERA_OBJDUMP_I686 << " -d --no-show-raw-insn --start-address=0x" << std::hex << function.address
            << " --stop-address=0x" << function.address + function.size << " " << ZERA_WINDOWS_MODULE_I686;
    std::vector<std::string> returns;
    std::istringstream in(run(command.str()));
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::string instruction = trimmed(line.substr(tab + 1));
        if (instruction.rfind("ret", 0) == 0) returns.push_back(instruction);
    }
    return returns;
}

// 32-bit FileMaker calls a registered function __stdcall: the function
// removes its four arguments, 16 bytes, on return. Its entry point is
// __cdecl: the host removes the one argument itself.
TEST(ShippedModule32, RegisteredHandlersRemoveTheirArgumentsAndTheEntryPointDoesNot) {
    const auto handlers = functionsInMap(ZERA_WINDOWS_MAP_I686, "handlerAtBoundary");
    EXPECT_EQ(handlers.size(), 9u) << "one boundary for each registered function";
    for (const FunctionCode& handler : handlers) {
        const auto returns = returnsIn(handler);
        EXPECT_FALSE(returns.empty()) << handler.section;
        for (const std::string& ret : returns) EXPECT_EQ(ret, "ret    $0x10") << handler.section;
    }
    const auto entry = functionsInMap(ZERA_WINDOWS_MAP_I686, "FMExternCallProc");
    ASSERT_EQ(entry.size(), 1u);
    const auto returns = returnsIn(entry.front());
    EXPECT_FALSE(returns.empty());
    for (const std::string& ret : returns) EXPECT_EQ(ret, "ret") << "FMExternCallProc";
}

}  // namespace
