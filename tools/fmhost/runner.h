// Runs calculation scripts and the interactive prompt, printing results on
// one stream and diagnostics on another.
#pragma once

#include "evaluator.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace fmhost {

struct Source {
    std::string name;  // as diagnostics name it: a path, "-e" or "<stdin>"
    std::string text;
};

struct RunnerOutput {
    // Each printed value after its calculation, "ZERA_Version( \"short\" ) → 1.0.6.0",
    // so that the output of a script pairs with its lines; else the bare value.
    bool echo = false;
    // Also the value of every assignment.
    bool verbose = false;
};

class Runner {
public:
    Runner(Evaluator& evaluator, std::ostream& out, std::ostream& err, RunnerOutput output = {});

    // Parses every source first; if any has a syntax error, reports them all
    // and runs nothing. Otherwise runs the statements in order, going on
    // after a failed statement. True when everything parsed and ran.
    bool runSources(const std::vector<Source>& sources);

    // Reads statements line by line until end of input, running each as soon
    // as it is complete. A prompt is written to `prompt` when it is not null.
    // True when every statement parsed and ran.
    bool runPrompt(std::istream& in, std::ostream* prompt);

private:
    bool runStatement(const std::string& source, const Statement& statement);

    Evaluator& evaluator_;
    std::ostream& out_;
    std::ostream& err_;
    RunnerOutput output_;
};

}  // namespace fmhost
