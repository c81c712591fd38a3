// Runs calculation scripts and the interactive prompt, printing results on
// one stream and diagnostics on another.
#pragma once

#include "evaluator.h"

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace fmhost {

struct Source {
    Source(std::string sourceName, std::string sourceText, std::optional<std::string> file = std::nullopt)
        : name(std::move(sourceName)), text(std::move(sourceText)), path(std::move(file)) {}

    std::string name;  // as diagnostics name it: a path, "-e[1]" or "<stdin>"
    std::string text;
    // A file is read from here instead, a statement at a time.
    std::optional<std::string> path;
};

struct RunnerOutput {
    // Each printed value after its calculation, "ZERA_Version( \"short\" ) → 1.0.6.0",
    // so that the output of a script pairs with its lines; else the bare value.
    bool echo = false;
    // Also the value of every assignment.
    bool verbose = false;
};

// Where the prompt's lines come from.
class LineSource {
public:
    virtual ~LineSource() = default;
    // The next line, without its end, or nothing at the end of input.
    // `continuing` says a statement is still open, for the prompt to show.
    virtual std::optional<std::string> read(bool continuing) = 0;
};

// Lines of a stream, with a prompt written before each when `prompt` is not
// null. A line holding only Ctrl-Z ends the input too, as a Windows console
// ends it.
class StreamLines final : public LineSource {
public:
    StreamLines(std::istream& in, std::ostream* prompt) : in_(in), prompt_(prompt) {}
    std::optional<std::string> read(bool continuing) override;

private:
    std::istream& in_;
    std::ostream* prompt_;
};

// The prompt's two texts.
inline constexpr const char* kPrompt = "fmhost> ";
inline constexpr const char* kContinuationPrompt = "   ...> ";

class Runner {
public:
    Runner(Evaluator& evaluator, std::ostream& out, std::ostream& err, RunnerOutput output = {});

    // Parses every source first; if any has a syntax error, reports them all
    // and runs nothing. Otherwise runs the statements in order, going on
    // after a failed statement. True when everything parsed and ran. A file
    // is read twice, a statement at a time, and never held whole: memory
    // stays the same however long the script.
    bool runSources(const std::vector<Source>& sources);

    // Reads statements line by line until end of input, running each as soon
    // as it is complete. A prompt is written to `prompt` when it is not null.
    // True when every statement parsed and ran.
    bool runPrompt(std::istream& in, std::ostream* prompt);
    bool runPrompt(LineSource& lines);

private:
    bool runStatement(const std::string& source, const Statement& statement);

    Evaluator& evaluator_;
    std::ostream& out_;
    std::ostream& err_;
    RunnerOutput output_;
};

}  // namespace fmhost
