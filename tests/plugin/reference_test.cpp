// The function reference in docs/functions.md held against the plug-in: every
// prototype the plug-in registers, and every error code its code raises with
// the code's message, must appear there.
#include "StartedPlugin.h"

#include <FMWrapper/HostSide.h>
#include <platform/utf.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace {

const std::filesystem::path kSource = ZERA_SOURCE_DIR;

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every match of `pattern` in `text`.
std::vector<std::smatch> matches(const std::string& text, const std::regex& pattern) {
    return {std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()};
}

// The names of the error constants that the plug-in's code raises.
std::set<std::string> raisedConstants() {
    std::set<std::string> names;
    const std::regex raise(R"(LastError::raise\((kErr\w+))");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / "plugin")) {
        if (entry.path().extension() != ".cpp") continue;
        const std::string code = readFile(entry.path());
        for (const std::smatch& m : matches(code, raise)) names.insert(m[1]);
    }
    return names;
}

class Reference : public StartedPlugin {
protected:
    const std::string reference = readFile(kSource / "docs/functions.md");
};

TEST_F(Reference, ShowsEveryRegisteredPrototype) {
    const auto functions = fmw::registeredFunctions();
    ASSERT_EQ(functions.size(), 9u);
    for (const fmw::FunctionEntry& function : functions) {
        const std::string prototype = platform::utf16ToUtf8(function.prototype);
        EXPECT_NE(reference.find("**Format** `" + prototype + "`"), std::string::npos) << prototype;
        EXPECT_NE(reference.find("## " + platform::utf16ToUtf8(function.name) + "\n"), std::string::npos);
    }
}

TEST_F(Reference, ListsEveryRaisedCodeWithItsMessage) {
    std::map<std::string, std::string> values;
    for (const std::smatch& m : matches(readFile(kSource / "plugin/functions/ErrorCodes.h"),
                                        std::regex(R"((kErr\w+) = (-?\d+);)"))) {
        values[m[1]] = m[2];
    }
    std::map<std::string, std::string> messages;
    for (const std::smatch& m : matches(readFile(kSource / "plugin/functions/ErrorCodes.cpp"),
                                        std::regex(R"re(CodeRow\{(-?\d+), "([^"]*)"\})re"))) {
        messages[m[1]] = m[2];
    }
    const std::set<std::string> raised = raisedConstants();
    EXPECT_GE(raised.size(), 5u);
    for (const std::string& name : raised) {
        ASSERT_TRUE(values.count(name)) << name;
        const std::string& code = values[name];
        ASSERT_TRUE(messages.count(code)) << code;
        EXPECT_NE(reference.find("| " + code + " | " + messages[code] + " |"), std::string::npos) << code;
    }
}

}  // namespace
