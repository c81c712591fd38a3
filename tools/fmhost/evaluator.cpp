#include "evaluator.h"

#include "host_functions.h"
#include "suggestions.h"
#include "platform/utf.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace fmhost {
namespace {

// An error of one statement, thrown from deep inside it.
struct EvaluationError {
    Diagnostic diagnostic;
};

[[noreturn]] void fail(Position at, std::string message) {
    throw EvaluationError{Diagnostic{at, std::move(message)}};
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string plural(int count) {
    return std::to_string(count) + (count == 1 ? " parameter" : " parameters");
}

bool countFits(int minArgs, int maxArgs, std::size_t given) {
    if (given < static_cast<std::size_t>(minArgs < 0 ? 0 : minArgs)) return false;
    return maxArgs < 0 || given <= static_cast<std::size_t>(maxArgs);
}

// Names a function that is neither the plug-in's nor the host's, with the
// nearest known name, or, for a bare word, the quotes a text wants.
std::string unknownFunctionMessage(const Call& call) {
    const std::string message = "unknown function '" + call.name + "'";
    std::vector<std::string> known;
    for (const fmw::FunctionEntry& entry : fmw::registeredFunctions()) known.push_back(platform::utf16ToUtf8(entry.name));
    for (const HostFunction& host : hostFunctions()) known.emplace_back(host.name);
    if (const auto nearest = closestName(call.name, known)) return message + "; did you mean '" + *nearest + "'?";
    if (!call.parenthesized) return message + "; a text is written in quotes: \"" + call.name + "\"";
    return message;
}

}  // namespace

std::string parameterCountMessage(std::string_view name, int minArgs, int maxArgs, std::size_t given) {
    std::string range;
    if (maxArgs < 0) range = "at least " + plural(minArgs);
    else if (minArgs == maxArgs) range = maxArgs == 0 ? "no parameters" : plural(maxArgs);
    else range = std::to_string(minArgs) + " to " + std::to_string(maxArgs) + " parameters";
    return std::string(name) + " takes " + range + ", " + std::to_string(given) + " given";
}

const fmw::Value* Evaluator::variable(std::string_view name) const {
    const auto found = variables_.find(lowerAscii(name));
    return found == variables_.end() ? nullptr : &found->second;
}

StatementOutcome Evaluator::execute(const Statement& statement) {
    StatementOutcome outcome;
    try {
        check(*statement.expression);
        outcome.value = evaluate(*statement.expression);
        if (statement.assignTo) variables_[statement.assignTo->key] = outcome.value;
    } catch (const EvaluationError& e) {
        outcome.ok = false;
        outcome.error = e.diagnostic;
    }
    return outcome;
}

void Evaluator::check(const Expr& expr) const {
    if (const auto* call = std::get_if<Call>(&expr.node)) {
        const std::size_t given = call->arguments.size();
        if (const HostFunction* host = findHostFunction(call->name)) {
            if (!countFits(host->minArgs, host->maxArgs, given))
                fail(expr.position, parameterCountMessage(host->name, host->minArgs, host->maxArgs, given));
        } else if (const auto entry = fmw::findFunction(platform::utf8ToUtf16(call->name))) {
            if (!countFits(entry->minArgs, entry->maxArgs, given))
                fail(expr.position, parameterCountMessage(platform::utf16ToUtf8(entry->name), entry->minArgs,
                                                          entry->maxArgs, given));
        } else {
            fail(expr.position, unknownFunctionMessage(*call));
        }
        for (const ExprPtr& argument : call->arguments) check(*argument);
    } else if (const auto* concatenation = std::get_if<Concatenation>(&expr.node)) {
        for (const ExprPtr& part : concatenation->parts) check(*part);
    } else if (const auto* negation = std::get_if<Negation>(&expr.node)) {
        check(*negation->operand);
    }
}

fmw::Value Evaluator::evaluate(const Expr& expr) {
    return std::visit(
        [&](const auto& node) -> fmw::Value {
            using Node = std::decay_t<decltype(node)>;
            if constexpr (std::is_same_v<Node, TextLiteral>) {
                return fmw::Value::text(platform::utf8ToUtf16(node.utf8));
            } else if constexpr (std::is_same_v<Node, NumberLiteral>) {
                return fmw::Value::number(node.value);
            } else if constexpr (std::is_same_v<Node, VariableRef>) {
                const auto found = variables_.find(node.key);
                return found == variables_.end() ? fmw::Value() : found->second;
            } else if constexpr (std::is_same_v<Node, Call>) {
                return evaluateCall(expr, node);
            } else if constexpr (std::is_same_v<Node, Concatenation>) {
                std::u16string joined;
                for (const ExprPtr& part : node.parts) joined += evaluate(*part).asText();
                return fmw::Value::text(std::move(joined));
            } else {
                // Subtracting from zero rather than flipping the sign keeps
                // -0 from printing as "-0".
                return fmw::Value::number(0.0 - evaluate(*node.operand).asNumber());
            }
        },
        expr.node);
}

fmw::Value Evaluator::evaluateCall(const Expr& expr, const Call& call) {
    std::vector<fmw::Value> arguments;
    arguments.reserve(call.arguments.size());
    for (const ExprPtr& argument : call.arguments) arguments.push_back(evaluate(*argument));

    if (const HostFunction* host = findHostFunction(call.name)) {
        try {
            return host->run(arguments);
        } catch (const HostFunctionError& e) {
            fail(expr.position, std::string(host->name) + ": " + e.what());
        }
    }
    // Looked up again: a handler earlier in the statement may have changed
    // the registrations since the check.
    const auto entry = fmw::findFunction(platform::utf8ToUtf16(call.name));
    if (!entry) fail(expr.position, unknownFunctionMessage(call));
    const std::string name = platform::utf16ToUtf8(entry->name);
    fmw::CallResult result;
    try {
        result = fmw::callFunction(*entry, arguments);
    } catch (const std::bad_alloc& e) {
        fail(expr.position, "host error: " + name + " ran out of memory (" + e.what() + ")");
    } catch (const std::exception& e) {
        fail(expr.position, "host error: " + name + " threw an exception: " + e.what());
    } catch (...) {
        fail(expr.position, "host error: " + name + " threw an exception of an unknown type");
    }
    if (result.returned != 0)
        fail(expr.position, name + " returned error code " + std::to_string(result.returned));
    return std::move(result.result);
}

}  // namespace fmhost
