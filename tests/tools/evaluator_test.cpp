// Evaluating statements against functions in the host's registry: values,
// variables, parameter counts, unknown names, handler failures, Export.
#include "evaluator.h"
#include "parser.h"
#include "test_functions.h"

#include "platform/utf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace fmhost {
namespace {

using testing::callLog;

class Evaluation : public testing::RegisteredFunctions {
protected:
    StatementOutcome run(const std::string& source) {
        ParsedScript script = parseScript(source);
        EXPECT_TRUE(script.errors.empty()) << source;
        EXPECT_EQ(script.statements.size(), 1u) << source;
        if (script.statements.size() != 1) return {};
        return evaluator.execute(script.statements[0]);
    }
    // The text a successful statement gave.
    std::string text(const std::string& source) {
        const StatementOutcome outcome = run(source);
        EXPECT_TRUE(outcome.ok) << source << ": " << (outcome.error ? outcome.error->message : "");
        return platform::utf16ToUtf8(outcome.value.asText());
    }
    Diagnostic failure(const std::string& source) {
        const StatementOutcome outcome = run(source);
        EXPECT_FALSE(outcome.ok) << source;
        return outcome.error.value_or(Diagnostic{});
    }
    std::vector<std::string> calls() const {
        std::vector<std::string> out;
        for (const std::u16string& entry : callLog()) out.push_back(platform::utf16ToUtf8(entry));
        return out;
    }

    Evaluator evaluator;
};

// ---- values and operators -------------------------------------------------------

TEST_F(Evaluation, LiteralsKeepTheirType) {
    StatementOutcome outcome = run("\"caf\xC3\xA9\"");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.value.type(), fmw::Value::Type::Text);
    EXPECT_EQ(outcome.value.textValue(), u"caf\u00E9");

    outcome = run("3.7");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.value.type(), fmw::Value::Type::Number);
    EXPECT_EQ(outcome.value.numberValue(), 3.7);
}

TEST_F(Evaluation, ConcatenationJoinsAsText) {
    const StatementOutcome outcome = run("\"n=\" & 3.50 & \xC2\xB6 & -2");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.value.type(), fmw::Value::Type::Text);
    EXPECT_EQ(outcome.value.textValue(), u"n=3.5\r-2");
}

TEST_F(Evaluation, NegationReadsTextAsANumber) {
    const StatementOutcome outcome = run("-\"12 apples\"");
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.value.type(), fmw::Value::Type::Number);
    EXPECT_EQ(outcome.value.numberValue(), -12.0);
    EXPECT_EQ(text("- -3"), "3");
    EXPECT_EQ(text("-0"), "0");
}

TEST_F(Evaluation, VariablesIgnoreCaseAndStartEmpty) {
    EXPECT_EQ(text("$Unset & \"|\""), "|");
    EXPECT_TRUE(run("$Name = \"first\"").ok);
    EXPECT_TRUE(run("$NAME = $name & \" second\"").ok);
    EXPECT_EQ(text("$nAmE"), "first second");
    ASSERT_NE(evaluator.variable("$name"), nullptr);
    EXPECT_EQ(evaluator.variable("$name")->textValue(), u"first second");
    EXPECT_EQ(evaluator.variable("$$name"), nullptr);  // a global is another variable
}

TEST_F(Evaluation, AssignmentKeepsContainerValues) {
    ASSERT_TRUE(run("$pic = T_Picture( \"p.gif\" )").ok);
    const fmw::Value* pic = evaluator.variable("$PIC");
    ASSERT_NE(pic, nullptr);
    ASSERT_EQ(pic->type(), fmw::Value::Type::Container);
    EXPECT_EQ(pic->containerValue().streams.size(), 2u);
    callLog().clear();
    EXPECT_EQ(text("T_Count( $pic ; $pic )"), "2");
    EXPECT_EQ(calls(), (std::vector<std::string>{"T_Count(p.gif|p.gif)"}));
}

// ---- calls ------------------------------------------------------------------------

TEST_F(Evaluation, NestedCallsRunInsideOutWithTheirParameters) {
    EXPECT_EQ(text("T_Join( \"a\" ; T_Join( 1.5 ; T_Count( ) ) )"), "a|1.5|0");
    EXPECT_EQ(calls(), (std::vector<std::string>{"T_Count()", "T_Join(1.5|0)", "T_Join(a|1.5|0)"}));
}

TEST_F(Evaluation, NamesAreFoundWhateverTheirCase) {
    EXPECT_EQ(text("t_join( \"x\" )"), "x");
    EXPECT_EQ(text("T_COUNT"), "0");  // a bare name calls without parameters
}

TEST_F(Evaluation, ParameterCountsAreEnforcedFromTheRegistration) {
    Diagnostic error = failure("T_Join( 1 ; 2 ; 3 )");
    EXPECT_EQ(error.message, "T_Join takes 1 to 2 parameters, 3 given");
    EXPECT_EQ(error.position.line, 1);
    EXPECT_EQ(error.position.column, 1);

    EXPECT_EQ(failure("t_join").message, "T_Join takes 1 to 2 parameters, 0 given");
    EXPECT_EQ(failure("T_Throw( 1 )").message, "T_Throw takes no parameters, 1 given");
    EXPECT_EQ(failure("T_Count( 1 ; 2 ; 3 ; 4 )").message, "T_Count takes 0 to 3 parameters, 4 given");
    EXPECT_EQ(text("T_Count( 1 ; 2 ; 3 )"), "3");
}

TEST_F(Evaluation, AWrongCountAnywhereStopsTheWholeStatementBeforeAnyCall) {
    const Diagnostic error = failure("T_Join( T_Count( 1 ) ;\n  T_Join( 1 ; 2 ; 3 ) )");
    EXPECT_EQ(error.position.line, 2);
    EXPECT_EQ(error.position.column, 3);
    EXPECT_TRUE(callLog().empty());
}

TEST_F(Evaluation, UnknownFunctionIsReportedWhereItIsWritten) {
    const Diagnostic error = failure("T_Join( \"a\" & NoSuch( 1 ) )");
    EXPECT_EQ(error.message, "unknown function 'NoSuch'");
    EXPECT_EQ(error.position.column, 15);
    EXPECT_TRUE(callLog().empty());
}

TEST_F(Evaluation, UnknownNamesGetTheNearestKnownOneOrForABareWordTheQuotes) {
    EXPECT_EQ(failure("T_Jion( \"a\" )").message, "unknown function 'T_Jion'; did you mean 'T_Join'?");
    EXPECT_EQ(failure("exprot( 1 ; 2 )").message, "unknown function 'exprot'; did you mean 'Export'?");
    EXPECT_EQ(failure("T_Join( Ada )").message, "unknown function 'Ada'; a text is written in quotes: \"Ada\"");
    EXPECT_EQ(failure("T_Join( Ada() )").message, "unknown function 'Ada'");
    EXPECT_EQ(failure("T_Jn( 1 )").message, "unknown function 'T_Jn'") << "too far from T_Join";
}

TEST_F(Evaluation, UnregisteredFunctionIsUnknown) {
    fmcalls::unregisterFunction("TEST", 1);
    EXPECT_EQ(failure("T_Join( 1 )").message, "unknown function 'T_Join'");
}

TEST_F(Evaluation, HandlerExceptionsBecomeHostErrorsOfTheStatement) {
    EXPECT_EQ(failure("T_Join( T_BadAlloc )").message, "host error: T_BadAlloc ran out of memory (std::bad_alloc)");
    EXPECT_EQ(failure("\"x\" & t_throw").message, "host error: T_Throw threw an exception: boom");
    const Diagnostic error = failure("  T_ThrowInt");
    EXPECT_EQ(error.message, "host error: T_ThrowInt threw an exception of an unknown type");
    EXPECT_EQ(error.position.column, 3);
    // The outer T_Join was never reached.
    EXPECT_EQ(calls(), (std::vector<std::string>{"T_BadAlloc()", "T_Throw()", "T_ThrowInt()"}));
}

TEST_F(Evaluation, AFailedAssignmentLeavesTheVariableAsItWas) {
    ASSERT_TRUE(run("$v = \"kept\"").ok);
    EXPECT_FALSE(run("$v = T_Throw").ok);
    EXPECT_FALSE(run("$v = NoSuch").ok);
    EXPECT_EQ(text("$v"), "kept");
    EXPECT_EQ(text("T_Join( \"still works\" )"), "still works");
}

TEST_F(Evaluation, AHandlersErrorCodeFailsTheStatement) {
    EXPECT_EQ(failure("T_Code").message, "T_Code returned error code 7");
}

TEST(ParameterCountMessage, SaysTheRangeTheWayItIsRegistered) {
    EXPECT_EQ(parameterCountMessage("F", 1, 1, 0), "F takes 1 parameter, 0 given");
    EXPECT_EQ(parameterCountMessage("F", 3, 3, 1), "F takes 3 parameters, 1 given");
    EXPECT_EQ(parameterCountMessage("F", 0, 1, 2), "F takes 0 to 1 parameters, 2 given");
    EXPECT_EQ(parameterCountMessage("F", 1, -1, 0), "F takes at least 1 parameter, 0 given");
}

// ---- Export -------------------------------------------------------------------------

class Export : public Evaluation {
protected:
    void SetUp() override {
        Evaluation::SetUp();
        char pattern[] = "/tmp/fmhost-export-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        for (const char* name : {"out.bin", "other.bin"}) std::remove((dir_ + "/" + name).c_str());
        rmdir(dir_.c_str());
        Evaluation::TearDown();
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }
    static std::vector<std::uint8_t> bytesOf(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string dir_;
};

TEST_F(Export, WritesTheGifStreamAndGivesItsSize) {
    const StatementOutcome outcome = run("Export( T_Picture ; \"" + path("out.bin") + "\" )");
    ASSERT_TRUE(outcome.ok) << outcome.error->message;
    EXPECT_EQ(outcome.value.type(), fmw::Value::Type::Number);
    EXPECT_EQ(outcome.value.numberValue(), 4.0);
    EXPECT_EQ(bytesOf(path("out.bin")), (std::vector<std::uint8_t>{'G', 0, '\n', 0xFF}));
}

TEST_F(Export, WritesTheStreamOfTheGivenType) {
    ASSERT_TRUE(run("$p = T_Picture").ok);
    EXPECT_EQ(text("export( $p ; \"" + path("other.bin") + "\" ; \"JPEG\" )"), "3");
    EXPECT_EQ(bytesOf(path("other.bin")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(failure("Export( $p ; \"" + path("other.bin") + "\" ; \"PNGf\" )").message,
              "Export: the container has no \"PNGf\" stream");
}

TEST_F(Export, RefusesWhatItCannotWrite) {
    EXPECT_EQ(failure("Export( \"text\" ; \"" + path("out.bin") + "\" )").message,
              "Export: the first parameter is not a container");
    EXPECT_EQ(failure("Export( T_Blank ; \"" + path("out.bin") + "\" )").message,
              "Export: the container holds no stream");
    EXPECT_EQ(failure("Export( T_Picture ; \"\" )").message, "Export: the path is empty");
    EXPECT_EQ(failure("Export( T_Picture ; \"" + path("no/such/dir") + "\" )").message,
              "Export: cannot write '" + path("no/such/dir") + "': No such file or directory");
    EXPECT_EQ(failure("Export( T_Picture )").message, "Export takes 2 to 3 parameters, 1 given");
}

TEST_F(Export, FirstStreamWhenThereIsNoGif) {
    // A container without a GIFf stream: the JPEG one, which comes first.
    fmcalls::unregisterFunction("TEST", 7);
    add(7, u"T_Picture", u"T_Picture", 0, 0,
        [](std::int16_t, const fmx::ExprEnv*, const fmx::DataVect*, fmx::Data* result) -> FMErrcode {
            fmcalls::setContainer(result, {{{'J', 'P', 'E', 'G'}, {9, 8}}, {{'P', 'N', 'G', 'f'}, {7}}},
                                  std::nullopt, std::nullopt);
            return 0;
        });
    EXPECT_EQ(text("Export( T_Picture ; \"" + path("out.bin") + "\" )"), "2");
    EXPECT_EQ(bytesOf(path("out.bin")), (std::vector<std::uint8_t>{9, 8}));
}

}  // namespace
}  // namespace fmhost
