#include "runner.h"

#include "parser.h"
#include "printer.h"

#include <exception>
#include <fstream>
#include <memory>
#include <new>
#include <sstream>

namespace fmhost {
namespace {

// A source's statements a few lines at a time: lines are gathered until the
// statement they hold is complete, as at the prompt.
class Chunks {
public:
    explicit Chunks(std::istream& in) : in_(in) {}

    // The next lines that make up whole statements, and the number of the
    // first; false at the end. Lines left open at the end come as a last
    // chunk, whose parse reports what is missing.
    bool next(std::string& chunk, int& firstLine) {
        chunk.clear();
        std::string line;
        while (std::getline(in_, line)) {
            if (chunk.empty()) firstLine = nextLine_;
            ++nextLine_;
            chunk += line;
            chunk += '\n';
            if (!needsMoreInput(chunk)) return true;
        }
        return !chunk.empty();
    }

private:
    std::istream& in_;
    int nextLine_ = 1;
};

std::unique_ptr<std::istream> openSource(const Source& source) {
    if (source.path) return std::make_unique<std::ifstream>(*source.path, std::ios::binary);
    return std::make_unique<std::istringstream>(source.text);
}

// Hands each chunk of the source to `use(chunk, firstLine)`; false, said on
// `err`, when the source cannot be read through to its end.
template <typename Use>
bool forEachChunk(const Source& source, std::ostream& err, Use&& use) {
    const auto in = openSource(source);
    if (*in) {
        Chunks chunks(*in);
        std::string chunk;
        int firstLine = 1;
        while (chunks.next(chunk, firstLine)) use(chunk, firstLine);
        if (!in->bad()) return true;
    }
    err << "fmhost: cannot read script '" << source.name << "'\n";
    return false;
}

}  // namespace

Runner::Runner(Evaluator& evaluator, std::ostream& out, std::ostream& err, RunnerOutput output)
    : evaluator_(evaluator), out_(out), err_(err), output_(output) {}

bool Runner::runStatement(const std::string& source, const Statement& statement) {
    StatementOutcome outcome;
    try {
        outcome = evaluator_.execute(statement);
    } catch (const std::exception& e) {
        // The host itself failed (out of memory building a value, say):
        // that statement fails, the next one may still run.
        outcome.ok = false;
        outcome.error = Diagnostic{statement.position, std::string("host error: ") + e.what()};
    }
    if (!outcome.ok) {
        out_.flush();
        err_ << formatDiagnostic(source, *outcome.error) << '\n';
        return false;
    }
    const std::string value = formatValue(outcome.value);
    if (!statement.assignTo && output_.echo) {
        out_ << formatCalculation(*statement.expression) << " \xE2\x86\x92" << (value.empty() ? "" : " ") << value << '\n';
    } else if (!statement.assignTo) {
        out_ << value << '\n';
    } else if (output_.verbose) {
        out_ << statement.assignTo->name << " = " << value << '\n';
    }
    out_.flush();
    return true;
}

bool Runner::runSources(const std::vector<Source>& sources) {
    bool syntaxOk = true;
    for (const Source& source : sources) {
        syntaxOk = forEachChunk(source, err_, [&](const std::string& chunk, int firstLine) {
            for (const Diagnostic& d : parseScript(chunk, firstLine).errors) {
                err_ << formatDiagnostic(source.name, d) << '\n';
                syntaxOk = false;
            }
        }) && syntaxOk;
    }
    if (!syntaxOk) {
        err_ << "fmhost: nothing was run because of the syntax errors above\n";
        return false;
    }
    bool allOk = true;
    for (const Source& source : sources) {
        allOk = forEachChunk(source, err_, [&](const std::string& chunk, int firstLine) {
            for (const Statement& statement : parseScript(chunk, firstLine).statements) {
                allOk = runStatement(source.name, statement) && allOk;
            }
        }) && allOk;
    }
    return allOk;
}

std::optional<std::string> StreamLines::read(bool continuing) {
    if (prompt_ != nullptr) *prompt_ << (continuing ? kContinuationPrompt : kPrompt) << std::flush;
    std::string line;
    const bool got = static_cast<bool>(std::getline(in_, line));
    if (!got || line == "\x1A" || line == "\x1A\r") {
        if (prompt_ != nullptr) *prompt_ << '\n' << std::flush;
        return std::nullopt;
    }
    return line;
}

bool Runner::runPrompt(std::istream& in, std::ostream* prompt) {
    StreamLines lines(in, prompt);
    return runPrompt(lines);
}

bool Runner::runPrompt(LineSource& lines) {
    const std::string source = "<stdin>";
    bool allOk = true;
    int nextLine = 1;
    std::string pending;
    int pendingFirstLine = 1;
    while (true) {
        const std::optional<std::string> read = lines.read(!pending.empty());
        if (!read) break;
        const std::string& line = *read;
        if (pending.empty()) pendingFirstLine = nextLine;
        ++nextLine;
        pending += line;
        pending += '\n';
        if (needsMoreInput(pending)) continue;
        const ParsedScript script = parseScript(pending, pendingFirstLine);
        pending.clear();
        for (const Diagnostic& d : script.errors) {
            err_ << formatDiagnostic(source, d) << '\n';
            allOk = false;
        }
        for (const Statement& statement : script.statements) allOk = runStatement(source, statement) && allOk;
    }
    if (!pending.empty()) {
        // The input ended inside open parentheses: say so as a script would.
        const ParsedScript script = parseScript(pending, pendingFirstLine);
        for (const Diagnostic& d : script.errors) err_ << formatDiagnostic(source, d) << '\n';
        allOk = false;
    }
    return allOk;
}

}  // namespace fmhost
