#include "runner.h"

#include "parser.h"
#include "printer.h"

#include <exception>
#include <new>

namespace fmhost {

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
    std::vector<ParsedScript> parsed;
    bool syntaxOk = true;
    for (const Source& source : sources) {
        parsed.push_back(parseScript(source.text));
        for (const Diagnostic& d : parsed.back().errors) {
            err_ << formatDiagnostic(source.name, d) << '\n';
            syntaxOk = false;
        }
    }
    if (!syntaxOk) {
        err_ << "fmhost: nothing was run because of the syntax errors above\n";
        return false;
    }
    bool allOk = true;
    for (std::size_t i = 0; i < sources.size(); ++i)
        for (const Statement& statement : parsed[i].statements)
            allOk = runStatement(sources[i].name, statement) && allOk;
    return allOk;
}

bool Runner::runPrompt(std::istream& in, std::ostream* prompt) {
    const std::string source = "<stdin>";
    bool allOk = true;
    int nextLine = 1;
    std::string pending;
    int pendingFirstLine = 1;
    std::string line;
    while (true) {
        if (prompt != nullptr) *prompt << (pending.empty() ? "fmhost> " : "   ...> ") << std::flush;
        if (!std::getline(in, line)) break;
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
    if (prompt != nullptr) *prompt << '\n' << std::flush;
    if (!pending.empty()) {
        // The input ended inside open parentheses: say so as a script would.
        const ParsedScript script = parseScript(pending, pendingFirstLine);
        for (const Diagnostic& d : script.errors) err_ << formatDiagnostic(source, d) << '\n';
        allOk = false;
    }
    return allOk;
}

}  // namespace fmhost
