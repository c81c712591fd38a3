#include "options.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <limits>
#include <system_error>

namespace fmhost {
namespace {

bool parseHostVersion(const std::string& text, std::int16_t& out) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || stop != end) return false;
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return false;
    out = static_cast<std::int16_t>(value);
    return true;
}

// The option getopt_long refused, as written: a long one up to its '=', a
// short one by the letter it stopped at.
std::string offendingOption(const char* lastRead) {
    const std::string written(lastRead);
    if (written.rfind("--", 0) == 0) return written.substr(0, written.find('='));
    return std::string{'-', static_cast<char>(optopt)};
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    enum LongOnly { kPreferences = 256, kNoControl, kControl, kPad, kScreens, kHostVersion };
    static const option kLongOptions[] = {
        {"help", no_argument, nullptr, 'h'},
        {"quiet", no_argument, nullptr, 'q'},
        {"verbose", no_argument, nullptr, 'v'},
        {"preferences", no_argument, nullptr, kPreferences},
        {"no-control", no_argument, nullptr, kNoControl},
        {"control", required_argument, nullptr, kControl},
        {"pad", required_argument, nullptr, kPad},
        {"screens", required_argument, nullptr, kScreens},
        {"host-version", required_argument, nullptr, kHostVersion},
        {nullptr, 0, nullptr, 0},
    };

    // getopt_long wants a writable argv that begins with the program's name.
    std::vector<std::string> storage{"fmhost"};
    storage.insert(storage.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : storage) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());

    // Messages are made here; 0 restarts the scan for every call.
    opterr = 0;
    optind = 0;
    int found = 0;
    while ((found = getopt_long(argc, argv.data(), ":hqve:", kLongOptions, nullptr)) != -1) {
        switch (found) {
            case 'h': o.help = true; break;
            case 'q': o.quiet = true; break;
            case 'v': o.verbose = true; break;
            case 'e': o.expressions.emplace_back(optarg); break;
            case kPreferences: o.preferences = true; break;
            case kNoControl: o.noControl = true; break;
            case kControl: o.controlPath = optarg; break;
            case kPad: o.padScriptPath = optarg; break;
            case kScreens: o.screensFolder = optarg; break;
            case kHostVersion:
                if (!parseHostVersion(optarg, o.hostVersion)) {
                    parsed.error = "--host-version needs a whole number from -32768 to 32767, not '" +
                                   std::string(optarg) + "'";
                    return parsed;
                }
                break;
            case ':':
                parsed.error = "option '" + offendingOption(argv[static_cast<std::size_t>(optind - 1)]) + "' needs a value";
                return parsed;
            default: {
                const std::string written = argv[static_cast<std::size_t>(optind - 1)];
                const std::string name = offendingOption(written.c_str());
                const bool isOption =
                    std::any_of(std::begin(kLongOptions), std::end(kLongOptions) - 1,
                                [&](const option& known) { return name == std::string("--") + known.name; });
                parsed.error = isOption ? "option '" + name + "' takes no value" : "unknown option '" + name + "'";
                return parsed;
            }
        }
    }
    // getopt_long has moved the operands behind the options.
    const std::vector<std::string> positional(argv.begin() + optind, argv.end() - 1);
    if (o.help) return parsed;
    if (positional.empty()) {
        parsed.error = "no plug-in file given";
        return parsed;
    }
    if (positional.size() > 2) {
        parsed.error = "too many arguments: '" + positional[2] + "'";
        return parsed;
    }
    o.pluginPath = positional[0];
    if (positional.size() == 2) o.scriptPath = positional[1];
    return parsed;
}

std::string usageText() {
#ifdef _WIN32
    constexpr const char* kWithoutPad = R"(
                       without it a capture dialog waits for the keyboard
                       and mouse; with it, it is played in real time)";
#else
    constexpr const char* kWithoutPad = R"(
                       without it a capture dialog closes at once, cancelled,
                       and a note on stderr says so)";
#endif
    return std::string(R"(usage: fmhost [options] PLUGIN_FILE [SCRIPT_FILE]

Loads a FileMaker calculation plug-in, starts it, lists its functions and
evaluates calculations: the -e expressions first, then SCRIPT_FILE ("-" reads
it from stdin). With neither, calculations are read line by line from stdin.
Each value is printed after its calculation:  ZERA_Version( "short" ) → 1.0.6.0
At an interactive prompt, and with -q, the value stands alone.

options:
  -e EXPR              evaluate one calculation (may be repeated)
  --host-version N     the host version sent at start-up (default 60)
  --preferences        send the preferences request once after start-up
  --control LIBRARY    the signature pad control to register (default: the
                       )") + kControlFile + R"( beside fmhost)
  --no-control         register no control, as on a machine without one
  --pad SCRIPT         what the signer does at the pad during captures: pen
                       strokes, touches, buttons and keys (docs/pad-script.md);)" +
           kWithoutPad + R"(
  --screens FOLDER     save each screen the pad shows as FOLDER/screen-NNN.png
  -q, --quiet          no banner, and each value alone on its line, for
                       scripts that read the output
  -v, --verbose        also print the value of every assignment
  -h, --help           this text

script lines:
  $name = expression   assigns a variable ($name and $NAME are the same)
  expression           prints its value
  # ...  or  // ...    a comment; a statement continues while '(' is open
  Texts are "quoted" (\" quote, \\ backslash, ¶ carriage return), parameters
  are separated by ';', and '&' joins values as text.

host functions:
  Export( container ; path {; streamType} )
                       writes a container's stream ("GIFf" if present, else
                       the first) to a file and gives its byte count

exit codes: 0 all ran, 1 a statement failed, 2 usage or loading error,
            3 the plug-in did not start
)";
}

}  // namespace fmhost
