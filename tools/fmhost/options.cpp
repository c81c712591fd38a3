#include "options.h"

#include <charconv>
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

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        auto value = [&](const std::string& name) -> std::optional<std::string> {
            if (i + 1 >= arguments.size()) {
                parsed.error = "option '" + name + "' needs a value";
                return std::nullopt;
            }
            return arguments[++i];
        };
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "-q" || arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "-v" || arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--preferences") {
            o.preferences = true;
        } else if (arg == "--no-control") {
            o.noControl = true;
        } else if (arg == "--control") {
            auto path = value(arg);
            if (!path) return parsed;
            o.controlPath = *path;
        } else if (arg == "--pad") {
            auto path = value(arg);
            if (!path) return parsed;
            o.padScriptPath = *path;
        } else if (arg == "--screens") {
            auto folder = value(arg);
            if (!folder) return parsed;
            o.screensFolder = *folder;
        } else if (arg == "-e") {
            auto expression = value(arg);
            if (!expression) return parsed;
            o.expressions.push_back(*expression);
        } else if (arg == "--host-version" || arg.rfind("--host-version=", 0) == 0) {
            std::optional<std::string> text;
            if (arg == "--host-version") text = value(arg);
            else text = arg.substr(std::string("--host-version=").size());
            if (!text) return parsed;
            if (!parseHostVersion(*text, o.hostVersion)) {
                parsed.error = "--host-version needs a whole number from -32768 to 32767, not '" + *text + "'";
                return parsed;
            }
        } else {
            parsed.error = "unknown option '" + arg + "'";
            return parsed;
        }
    }
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
    return R"(usage: fmhost [options] PLUGIN_FILE [SCRIPT_FILE]

Loads a FileMaker calculation plug-in, starts it, lists its functions and
evaluates calculations: the -e expressions first, then SCRIPT_FILE ("-" reads
it from stdin). With neither, calculations are read line by line from stdin.

options:
  -e EXPR              evaluate one calculation (may be repeated)
  --host-version N     the host version sent at start-up (default 60)
  --preferences        send the preferences request once after start-up
  --control LIBRARY    the signature pad control to register (default: the
                       libsigplus.so beside fmhost)
  --no-control         register no control, as on a machine without one
  --pad SCRIPT         what the signer does at the pad during captures: pen
                       strokes, touches, buttons and keys (docs/pad-script.md);
                       without it a capture dialog closes at once, cancelled
  --screens FOLDER     save each screen the pad shows as FOLDER/screen-NNN.png
  -q, --quiet          no banner
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
