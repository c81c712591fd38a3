// The calculation notation: what the lexer and parser accept, what they
// build, and where they say a script is wrong.
#include "lexer.h"
#include "parser.h"

#include <gtest/gtest.h>

#include <string>

namespace fmhost {
namespace {

// ---- helpers ------------------------------------------------------------

ParsedScript parseOk(const std::string& source) {
    ParsedScript script = parseScript(source);
    EXPECT_TRUE(script.errors.empty()) << "first error: " << script.errors.front().message;
    return script;
}

const Expr& onlyExpression(const ParsedScript& script) {
    EXPECT_EQ(script.statements.size(), 1u);
    return *script.statements.at(0).expression;
}

std::string textOf(const Expr& expr) {
    const auto* literal = std::get_if<TextLiteral>(&expr.node);
    EXPECT_NE(literal, nullptr);
    return literal != nullptr ? literal->utf8 : std::string();
}

double numberOf(const Expr& expr) {
    const auto* literal = std::get_if<NumberLiteral>(&expr.node);
    EXPECT_NE(literal, nullptr);
    return literal != nullptr ? literal->value : -999.0;
}

const Call& callOf(const Expr& expr) {
    const auto* call = std::get_if<Call>(&expr.node);
    if (call == nullptr) throw std::runtime_error("not a call");
    return *call;
}

Diagnostic onlyError(const std::string& source) {
    ParsedScript script = parseScript(source);
    EXPECT_EQ(script.errors.size(), 1u) << source;
    if (script.errors.empty()) return {};
    EXPECT_TRUE(script.statements.empty());
    return script.errors.front();
}

// ---- literals -------------------------------------------------------------

TEST(ParserLiterals, TextEscapesFollowFileMaker) {
    EXPECT_EQ(textOf(onlyExpression(parseOk(R"("say \"hi\"")"))), "say \"hi\"");
    EXPECT_EQ(textOf(onlyExpression(parseOk(R"("back\\slash")"))), "back\\slash");
    EXPECT_EQ(textOf(onlyExpression(parseOk(R"("C:\dir\n")"))), "C:\\dir\\n");  // other backslashes stay
    EXPECT_EQ(textOf(onlyExpression(parseOk(R"("")"))), "");
    EXPECT_EQ(textOf(onlyExpression(parseOk(R"("ends with \\")"))), "ends with \\");
}

TEST(ParserLiterals, PilcrowIsACarriageReturnUnlessEscaped) {
    EXPECT_EQ(textOf(onlyExpression(parseOk("\"one\xC2\xB6two\""))), "one\rtwo");
    EXPECT_EQ(textOf(onlyExpression(parseOk("\"\\\xC2\xB6\""))), "\xC2\xB6");
    EXPECT_EQ(textOf(onlyExpression(parseOk("\xC2\xB6"))), "\r");
    EXPECT_EQ(textOf(onlyExpression(parseOk("\"caf\xC3\xA9\""))), "caf\xC3\xA9");  // other UTF-8 as is
}

TEST(ParserLiterals, Numbers) {
    EXPECT_EQ(numberOf(onlyExpression(parseOk("123"))), 123.0);
    EXPECT_EQ(numberOf(onlyExpression(parseOk("3.7"))), 3.7);
    EXPECT_EQ(numberOf(onlyExpression(parseOk(".5"))), 0.5);
    EXPECT_EQ(numberOf(onlyExpression(parseOk("1e3"))), 1000.0);
    EXPECT_EQ(numberOf(onlyExpression(parseOk("25E-1"))), 2.5);
    EXPECT_EQ(numberOf(onlyExpression(parseOk("7."))), 7.0);
}

TEST(ParserLiterals, NegativeNumberIsANegation) {
    const ParsedScript script = parseOk("-4");
    const Expr& expr = onlyExpression(script);
    const auto* negation = std::get_if<Negation>(&expr.node);
    ASSERT_NE(negation, nullptr);
    EXPECT_EQ(numberOf(*negation->operand), 4.0);
}

TEST(ParserLiterals, MalformedNumbersAreErrors) {
    EXPECT_EQ(onlyError("12abc").message, "malformed number '12abc'");
    EXPECT_EQ(onlyError("1.2.3").message, "malformed number '1.2.3'");
    EXPECT_EQ(onlyError("1e").message, "malformed number '1e'");
    EXPECT_EQ(onlyError("1e999").message, "number out of range '1e999'");
}

// ---- calls, variables, operators -----------------------------------------------

TEST(ParserCalls, NestedCallsWithSemicolonsAndSpacesAnywhere) {
    const ParsedScript script = parseOk("F(1;G( \"x\" ;$y ) ;   H  (  )  )");
    const Call& f = callOf(onlyExpression(script));
    EXPECT_EQ(f.name, "F");
    ASSERT_EQ(f.arguments.size(), 3u);
    EXPECT_EQ(numberOf(*f.arguments[0]), 1.0);
    const Call& g = callOf(*f.arguments[1]);
    EXPECT_EQ(g.name, "G");
    ASSERT_EQ(g.arguments.size(), 2u);
    EXPECT_EQ(textOf(*g.arguments[0]), "x");
    EXPECT_EQ(std::get<VariableRef>(g.arguments[1]->node).name, "$y");
    const Call& h = callOf(*f.arguments[2]);
    EXPECT_EQ(h.name, "H");
    EXPECT_TRUE(h.arguments.empty());
}

TEST(ParserCalls, BareNameIsACallWithoutParameters) {
    const ParsedScript script = parseOk("ZERA_Version");
    const Call& call = callOf(onlyExpression(script));
    EXPECT_EQ(call.name, "ZERA_Version");
    EXPECT_TRUE(call.arguments.empty());
}

TEST(ParserCalls, CallPositionIsTheName) {
    const ParsedScript script = parseOk("\n  \"a\" & Foo( 1 )");
    const auto& parts = std::get<Concatenation>(onlyExpression(script).node).parts;
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[1]->position.line, 2);
    EXPECT_EQ(parts[1]->position.column, 9);
}

TEST(ParserOperators, ConcatenationIsFlat) {
    const ParsedScript script = parseOk("\"a\" & 1 & $b & F( \"c\" & \"d\" )");
    const Expr& expr = onlyExpression(script);
    const auto& parts = std::get<Concatenation>(expr.node).parts;
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(textOf(*parts[0]), "a");
    EXPECT_EQ(numberOf(*parts[1]), 1.0);
    const Call& f = callOf(*parts[3]);
    ASSERT_EQ(f.arguments.size(), 1u);
    EXPECT_EQ(std::get<Concatenation>(f.arguments[0]->node).parts.size(), 2u);
}

TEST(ParserOperators, ParenthesesGroupWithoutANode) {
    const ParsedScript script = parseOk("( ( \"a\" & \"b\" ) )");
    const Expr& expr = onlyExpression(script);
    EXPECT_EQ(std::get<Concatenation>(expr.node).parts.size(), 2u);
}

TEST(ParserVariables, NamesKeepSpellingAndFoldCaseForTheKey) {
    const ParsedScript script = parseOk("$Sig.Data = $$Global_2");
    ASSERT_EQ(script.statements.size(), 1u);
    const Statement& statement = script.statements[0];
    ASSERT_TRUE(statement.assignTo.has_value());
    EXPECT_EQ(statement.assignTo->name, "$Sig.Data");
    EXPECT_EQ(statement.assignTo->key, "$sig.data");
    const auto& value = std::get<VariableRef>(statement.expression->node);
    EXPECT_EQ(value.name, "$$Global_2");
    EXPECT_EQ(value.key, "$$global_2");
}

TEST(ParserVariables, AVariableAloneIsAnExpression) {
    const ParsedScript script = parseOk("$x");
    ASSERT_EQ(script.statements.size(), 1u);
    EXPECT_FALSE(script.statements[0].assignTo.has_value());
}

// ---- script structure ---------------------------------------------------------

TEST(ParserScript, OneStatementPerLineCommentsAndBlankLinesIgnored) {
    const ParsedScript script = parseOk(
        "# a comment\n"
        "\n"
        "// another\n"
        "$a = \"x\"   // trailing comment\n"
        "/* a block\n"
        "   comment */ F( $a )\n"
        "\"# not a comment\"\n");
    ASSERT_EQ(script.statements.size(), 3u);
    EXPECT_EQ(script.statements[0].position.line, 4);
    EXPECT_EQ(script.statements[1].position.line, 6);
    EXPECT_EQ(script.statements[1].position.column, 15);
    EXPECT_EQ(textOf(*script.statements[2].expression), "# not a comment");
}

TEST(ParserScript, StatementContinuesWhileParenthesesAreOpen) {
    const ParsedScript script = parseOk(
        "F( \"a\" ;\n"
        "   G(\n"
        "     1 ) )\n"
        "$next = 2\n");
    ASSERT_EQ(script.statements.size(), 2u);
    const Call& f = callOf(*script.statements[0].expression);
    ASSERT_EQ(f.arguments.size(), 2u);
    EXPECT_EQ(callOf(*f.arguments[1]).arguments.size(), 1u);
    EXPECT_EQ(script.statements[1].position.line, 4);
}

TEST(ParserScript, WindowsLineEndsCountAsOneLine) {
    const ParsedScript script = parseOk("\"a\"\r\n\r\n\"b\"\r\nF(\r\n1)\r\n");
    ASSERT_EQ(script.statements.size(), 3u);
    EXPECT_EQ(script.statements[1].position.line, 3);
    EXPECT_EQ(script.statements[2].position.line, 4);
}

TEST(ParserScript, FirstLineNumberIsTheCallersToChoose) {
    const ParsedScript script = parseScript("\n  F(", 41);
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_EQ(script.errors[0].position.line, 42);
    EXPECT_EQ(script.errors[0].position.column, 4);
}

TEST(ParserScript, MoreInputNeededOnlyInsideOpenParentheses) {
    EXPECT_TRUE(needsMoreInput("F( 1 ;\n"));
    EXPECT_TRUE(needsMoreInput("F( G( 1 )\n"));
    EXPECT_FALSE(needsMoreInput("F( 1 )\n"));
    EXPECT_FALSE(needsMoreInput("\"a\" & \n"));
    EXPECT_FALSE(needsMoreInput("F( \"unterminated\n"));  // broken already: nothing to wait for
    EXPECT_FALSE(needsMoreInput(")\n"));
}

// ---- errors and their places -----------------------------------------------------

TEST(ParserErrors, LineAndColumnOfTheOffendingToken) {
    const Diagnostic comma = onlyError("$a = 1\n\nF( 1 , 2 )\n");
    EXPECT_EQ(comma.position.line, 3);
    EXPECT_EQ(comma.position.column, 6);
    EXPECT_EQ(comma.message, "parameters are separated by ';', not ','");
}

TEST(ParserErrors, ColumnsCountCharactersNotBytes) {
    const Diagnostic error = onlyError("\"\xC2\xB6\xC3\xA9\" & )");
    EXPECT_EQ(error.position.column, 8);
    EXPECT_EQ(error.message, "expected a value, found ')'");
}

TEST(ParserErrors, UnterminatedTextPointsAtItsOpeningQuote) {
    const ParsedScript script = parseScript("F( 1 )\n  G( \"abc )\nH\n");
    ASSERT_EQ(script.errors.size(), 1u);
    EXPECT_EQ(script.errors[0].position.line, 2);
    EXPECT_EQ(script.errors[0].position.column, 6);
    EXPECT_EQ(script.errors[0].message, "unterminated text: the closing '\"' is missing on this line");
    EXPECT_TRUE(script.statements.empty());
}

TEST(ParserErrors, UnclosedParenthesisPointsAtIt) {
    const Diagnostic error = onlyError("$x = 1\nF( G( 1 ) ;\n  2\n");
    EXPECT_EQ(error.position.line, 2);
    EXPECT_EQ(error.position.column, 2);
    EXPECT_EQ(error.message, "'(' is never closed");
}

TEST(ParserErrors, EveryBrokenStatementIsReportedAndNothingIsKept) {
    const ParsedScript script = parseScript("F( ; 1 )\n)\nok\n$ = 1\n\"a\" \"b\"\nG( 1 ) + 2\n");
    ASSERT_EQ(script.errors.size(), 5u);
    EXPECT_EQ(script.errors[0].position.line, 1);
    EXPECT_EQ(script.errors[0].message, "expected a parameter of 'F', found ';'");
    EXPECT_EQ(script.errors[1].position.line, 2);
    EXPECT_EQ(script.errors[1].message, "expected a value, found ')'");
    EXPECT_EQ(script.errors[2].position.line, 4);
    EXPECT_EQ(script.errors[2].message, "expected a variable name after '$'");
    EXPECT_EQ(script.errors[3].position.line, 5);
    EXPECT_EQ(script.errors[3].position.column, 5);
    EXPECT_EQ(script.errors[3].message, "expected '&' or the end of the statement, found text \"b\"");
    EXPECT_EQ(script.errors[4].position.line, 6);
    EXPECT_EQ(script.errors[4].position.column, 8);
    EXPECT_EQ(script.errors[4].message, "operator '+' is not supported; '&' is the only operator between values");
    EXPECT_TRUE(script.statements.empty());
}

TEST(ParserErrors, MisplacedTokensHaveTheirOwnMessages) {
    EXPECT_EQ(onlyError("F( 1 ) )").message, "unexpected ')' without a matching '('");
    EXPECT_EQ(onlyError("1 ; 2").message, "unexpected ';' outside a function's parameter list");
    EXPECT_EQ(onlyError("$a = $b = 1").message, "'=' assigns only in a statement that starts with a variable");
    EXPECT_EQ(onlyError("3 - 1").message,
              "operator '-' is not supported; '&' is the only operator between values");
    EXPECT_EQ(onlyError("F \"x\"").message, "expected '(' after 'F' before its parameters (a text is written in quotes)");
    EXPECT_EQ(onlyError("F( 1 ; )").message, "expected a parameter of 'F', found ')'");
    EXPECT_EQ(onlyError("F( 1 2 )").message, "expected ';' or ')' in the parameters of 'F', found number 2");
    EXPECT_EQ(onlyError("$a =").message, "expected a value, found the end of the input");
    EXPECT_EQ(onlyError("$a =\n1").message, "expected a value, found the end of the line");
    EXPECT_EQ(onlyError("/* open").message, "unterminated comment: '/*' without '*/'");
}

TEST(ParserErrors, CharactersOutsideTheNotation) {
    EXPECT_EQ(onlyError("F( 1 ) @").message, "unexpected character '@'");
    EXPECT_EQ(onlyError("\xE2\x80\x9Cquoted").message,
              "unexpected '\xE2\x80\x9C'; texts are written in straight double quotes");
    EXPECT_EQ(onlyError("\x01").message, "unexpected control character");
    EXPECT_EQ(onlyError("\xFF").message, "unexpected byte 0xFF (the script is not valid UTF-8)");
}

TEST(ParserErrors, NestingBeyondTheLimitIsRefused) {
    const std::string deep = std::string(5000, '(') + "1" + std::string(5000, ')');
    const Diagnostic error = onlyError(deep);
    EXPECT_EQ(error.position.column, kMaxNesting + 1);
    EXPECT_NE(error.message.find("nested too deeply"), std::string::npos);

    std::string calls;
    for (int i = 0; i < 3000; ++i) calls += "F(";
    EXPECT_NE(onlyError(calls).message.find("nested too deeply"), std::string::npos);
    EXPECT_NE(onlyError(std::string(3000, '-') + "1").message.find("nested too deeply"), std::string::npos);

    const std::string fits = std::string(kMaxNesting, '(') + "1" + std::string(kMaxNesting, ')');
    EXPECT_TRUE(parseScript(fits).errors.empty());
}

TEST(ParserErrors, LongConcatenationIsNoNesting) {
    std::string chain = "\"a\"";
    for (int i = 0; i < 20000; ++i) chain += " & \"a\"";
    const ParsedScript script = parseOk(chain);
    EXPECT_EQ(std::get<Concatenation>(onlyExpression(script).node).parts.size(), 20001u);
}

}  // namespace
}  // namespace fmhost
