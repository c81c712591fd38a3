// Evaluates parsed statements against the functions the plug-in has
// registered with the host and the host's own functions.
//
// Before a statement runs, every function it names is looked up and its
// parameter count checked against the registered range, as FileMaker
// refuses a calculation it cannot resolve before computing any of it: a
// statement with an unknown function or a wrong count calls nothing.
#pragma once

#include "ast.h"

#include "FMWrapper/HostSide.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace fmhost {

struct StatementOutcome {
    bool ok = true;
    std::optional<Diagnostic> error;  // set when !ok
    fmw::Value value;                 // the expression's value (assigned or to print)
};

class Evaluator {
public:
    StatementOutcome execute(const Statement& statement);

    // The variable of that spelling, `$` included; null if never assigned.
    const fmw::Value* variable(std::string_view name) const;

private:
    void check(const Expr& expr) const;
    fmw::Value evaluate(const Expr& expr);
    fmw::Value evaluateCall(const Expr& expr, const Call& call);

    std::map<std::string, fmw::Value> variables_;
};

// "ZERA_X takes 1 to 2 parameters, 3 given"; a negative maximum has no limit.
std::string parameterCountMessage(std::string_view name, int minArgs, int maxArgs, std::size_t given);

}  // namespace fmhost
