// fmhost: plays FileMaker for a calculation plug-in. See usageText().
#include "control_registration.h"
#include "dialog_watch.h"
#include "display_check.h"
#include "edited_lines.h"
#include "options.h"
#include "plugin_file_kind.h"
#include "plugin_loader.h"
#include "printer.h"
#include "runner.h"

#include "FMWrapper/HostSide.h"
#include "platform/utf.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#include <cerrno>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <istream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitStatementFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNotStarted = 3;

std::string readAll(std::istream& in) {
    std::string text;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) text.append(chunk, static_cast<std::size_t>(in.gcount()));
    return text;
}

// Standard input is read whole, since it cannot be read twice; a file is
// only checked here and read by the runner as it runs.
bool readScript(const std::string& path, fmhost::Source& source, std::string& error) {
    if (path == "-") {
        source.text = readAll(std::cin);
        return true;
    }
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = errno != 0 ? std::strerror(errno) : "cannot open the file";
        return false;
    }
    source.path = path;
    return true;
}

// The plug-in may throw out of its entry point; the host survives that and
// reports it, as it does for a function handler.
template <typename Call>
bool entryCall(const char* what, Call&& call) {
    try {
        call();
        return true;
    } catch (const std::exception& e) {
        std::cerr << "fmhost: host error: the plug-in's " << what << " failed: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "fmhost: host error: the plug-in's " << what << " failed with an unknown exception\n";
    }
    return false;
}

int run(const fmhost::Options& options, const std::string& programPath) {
    std::vector<fmhost::Source> sources;
    // Numbered, so that an error says which -e it is in.
    for (std::size_t i = 0; i < options.expressions.size(); ++i) {
        sources.push_back({"-e[" + std::to_string(i + 1) + "]", options.expressions[i]});
    }
    if (options.scriptPath) {
        fmhost::Source script{*options.scriptPath == "-" ? "<stdin>" : *options.scriptPath, {}};
        std::string error;
        if (!readScript(*options.scriptPath, script, error)) {
            std::cerr << "fmhost: cannot read script '" << *options.scriptPath << "': " << error << '\n';
            return kExitUsage;
        }
        sources.push_back(std::move(script));
    }

    // Both outlive the plug-in, which is unloaded first.
    fmhost::Held control;
    fmhost::Held pad;
    std::string controlError;
    if (!fmhost::registerControl(options, programPath, control, controlError)) {
        std::cerr << "fmhost: " << controlError << " (use --no-control to run without one)\n";
        return kExitUsage;
    }

    std::string padError;
    if (!fmhost::preparePad(options, std::cerr, pad, padError)) {
        std::cerr << "fmhost: " << padError << '\n';
        return kExitUsage;
    }

    std::string loadError;
    auto plugin = fmhost::PluginModule::load(options.pluginPath, loadError);
    if (!plugin) {
        std::cerr << "fmhost: cannot load plug-in '" << options.pluginPath << "': " << loadError << '\n';
        if (const auto hint = fmhost::otherSystemHint(options.pluginPath)) std::cerr << "fmhost: " << *hint << '\n';
        return kExitUsage;
    }

    fmhost::noteMissingDisplay(std::cerr);

    std::int64_t answer = 0;
    if (!entryCall("start-up", [&] { answer = plugin->startup(options.hostVersion); }))
        return kExitNotStarted;
    if (answer != fmhost::kPluginStarted) {
        std::cerr << "fmhost: the plug-in refused host version " << options.hostVersion << " (answer " << answer
                  << ")\n";
        return kExitNotStarted;
    }

    bool allOk = true;
    if (!options.quiet) {
        fmhost::PluginStrings strings;
        allOk = entryCall("get-string", [&] {
            strings.name = plugin->getString(fmhost::kStringName);
            strings.description = plugin->getString(fmhost::kStringDescription);
            strings.options = plugin->getString(fmhost::kStringOptions);
        });
        std::cout << fmhost::formatBanner(strings, fmw::registeredFunctions()) << std::flush;
    }
    if (options.preferences) {
        const fmhost::DialogWatch watch;
        allOk = entryCall("preferences", [&] { plugin->preferences(); }) && allOk;
        if (!watch.sawWindow()) std::cerr << "fmhost: the plug-in showed nothing for its preferences\n";
    }

    fmhost::Evaluator evaluator;
    // At the prompt a person sees the calculation they typed; anywhere else
    // the output says which calculation each value belongs to, unless -q
    // asks for the bare values.
    const bool terminal = sources.empty() && fmhost::standardInputIsTerminal();
    fmhost::Runner runner(evaluator, std::cout, std::cerr, {!options.quiet && !terminal, options.verbose});
    if (!sources.empty()) {
        allOk = runner.runSources(sources) && allOk;
    } else {
        if (terminal) {
            allOk = runner.runPrompt(*fmhost::terminalLines()) && allOk;
        } else {
            allOk = runner.runPrompt(std::cin, nullptr) && allOk;
        }
    }

    allOk = entryCall("shutdown", [&] { plugin->shutdown(); }) && allOk;
    plugin.reset();
    return allOk ? kExitOk : kExitStatementFailed;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Everything fmhost writes is UTF-8 ("→", "®"); a console shows it so
    // only when told.
    SetConsoleOutputCP(CP_UTF8);
#endif
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const fmhost::ParsedOptions parsed = fmhost::parseOptions(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "fmhost: " << parsed.error << "\nTry 'fmhost --help'.\n";
        return kExitUsage;
    }
    if (parsed.options.help) {
        std::cout << fmhost::usageText();
        return kExitOk;
    }
    try {
        return run(parsed.options, argv[0]);
    } catch (const std::exception& e) {
        std::cerr << "fmhost: host error: " << e.what() << '\n';
        return kExitStatementFailed;
    }
}
