// Running whole scripts and the prompt: what goes to the output and the
// error stream, when nothing runs, and that a failure does not stop the rest.
#include "runner.h"
#include "test_functions.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fmhost {
namespace {

using testing::callLog;

class Running : public testing::RegisteredFunctions {
protected:
    bool runSources(const std::vector<Source>& sources, RunnerOutput output = {}) {
        Runner runner(evaluator, out, err, output);
        return runner.runSources(sources);
    }
    bool runPrompt(const std::string& input, std::ostream* prompt = nullptr) {
        std::istringstream in(input);
        Runner runner(evaluator, out, err);
        return runner.runPrompt(in, prompt);
    }

    Evaluator evaluator;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(Running, PrintsExpressionsButNotAssignments) {
    EXPECT_TRUE(runSources({{"s.fmcalc", "$a = T_Join( \"x\" )\n$a & \"y\"\n\"\"\n42\n"}}));
    EXPECT_EQ(out.str(), "xy\n\n42\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(Running, VerboseShowsAssignments) {
    EXPECT_TRUE(runSources({{"s", "$Pic = T_Picture( \"a.gif\" )\n"}}, {.verbose = true}));
    EXPECT_EQ(out.str(), "$Pic = <container 215 x 70, file \"a.gif\", streams: JPEG 3 bytes, GIFf 4 bytes>\n");
}

TEST_F(Running, EchoPairsEachValueWithItsCalculationAsFileMakerWritesIt) {
    const std::string script = "$a = T_Join( \"x\" )\n"
                               "T_Join(\"a\xC2\xB6" "b\";$a)\n"
                               "\"\"\n"
                               R"(-(1 & 2)&"q\"\\")" "\n"
                               "T_Join( $a ;  - 5 )\n";
    EXPECT_TRUE(runSources({{"s", script}}, {.echo = true}));
    EXPECT_EQ(out.str(), "T_Join( \"a\xC2\xB6" "b\" ; $a ) \xE2\x86\x92 a\nb|x\n"
                         "\"\" \xE2\x86\x92\n"
                         R"(-( 1 & 2 ) & "q\"\\" )" "\xE2\x86\x92 " R"(-12q"\)" "\n"
                         "T_Join( $a ; -5 ) \xE2\x86\x92 x|-5\n");
}

TEST_F(Running, ASyntaxErrorInAnySourceRunsNothing) {
    EXPECT_FALSE(runSources({{"-e", "T_Join( \"one\" )"}, {"script.fmcalc", "T_Join( \"two\" )\n\nT_Join( 1 , 2 )\n"}}));
    EXPECT_TRUE(callLog().empty());
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(),
              "script.fmcalc:3:11: error: parameters are separated by ';', not ','\n"
              "fmhost: nothing was run because of the syntax errors above\n");
}

TEST_F(Running, SyntaxErrorsOfEverySourceAreAllReported) {
    EXPECT_FALSE(runSources({{"-e", "T_Join( "}, {"-e", "\"ok\""}, {"s", "1 +\n2 2\n"}}));
    EXPECT_EQ(err.str(),
              "-e:1:7: error: '(' is never closed\n"
              "s:1:3: error: operator '+' is not supported; '&' is the only operator between values\n"
              "s:2:3: error: expected '&' or the end of the statement, found number 2\n"
              "fmhost: nothing was run because of the syntax errors above\n");
}

TEST_F(Running, AFailedStatementIsReportedAndTheNextOneRuns) {
    EXPECT_FALSE(runSources({{"s", "T_Join( \"before\" )\n  NoSuch\nT_Throw\nT_Join( \"after\" )\n"}}));
    EXPECT_EQ(out.str(), "before\nafter\n");
    EXPECT_EQ(err.str(),
              "s:2:3: error: unknown function 'NoSuch'; a text is written in quotes: \"NoSuch\"\n"
              "s:3:1: error: host error: T_Throw threw an exception: boom\n");
}

TEST_F(Running, VariablesCarryFromOneSourceToTheNext) {
    EXPECT_TRUE(runSources({{"-e", "$who = \"world\""}, {"s", "\"hello \" & $WHO\n"}}));
    EXPECT_EQ(out.str(), "hello world\n");
}

TEST_F(Running, CarriageReturnsInResultsPrintAsLines) {
    EXPECT_TRUE(runSources({{"s", "T_Join( \"a\xC2\xB6" "b\" ; \"c\" )\n"}}));
    EXPECT_EQ(out.str(), "a\nb|c\n");
}

TEST_F(Running, PromptRunsEachStatementWhenItIsComplete) {
    EXPECT_TRUE(runPrompt("T_Join( \"p\" )\n$v = T_Join(\n  \"q\" ;\n  \"r\" )\n\n$V\n"));
    EXPECT_EQ(out.str(), "p\nq|r\n");
    EXPECT_EQ(err.str(), "");
}

TEST_F(Running, PromptGoesOnAfterErrorsAndNumbersLinesAcrossStatements) {
    EXPECT_FALSE(runPrompt("T_Join( 1 , 2 )\nT_Join( \"ok\" )\n\nT_Join(\n 1 ;\n 2 ; 3 )\n\"end\"\n"));
    EXPECT_EQ(out.str(), "ok\nend\n");
    EXPECT_EQ(err.str(),
              "<stdin>:1:11: error: parameters are separated by ';', not ','\n"
              "<stdin>:4:1: error: T_Join takes 1 to 2 parameters, 3 given\n");
}

TEST_F(Running, PromptEndingInsideParenthesesIsAnError) {
    EXPECT_FALSE(runPrompt("\"first\"\nT_Join( \"x\" ;\n"));
    EXPECT_EQ(out.str(), "first\n");
    EXPECT_EQ(err.str(), "<stdin>:2:7: error: '(' is never closed\n");
    EXPECT_TRUE(callLog().empty());
}

TEST_F(Running, PromptIsWrittenOnlyWhenAsked) {
    std::ostringstream prompt;
    EXPECT_TRUE(runPrompt("T_Join(\n\"a\" )\n", &prompt));
    EXPECT_EQ(prompt.str(), "fmhost>    ...> fmhost> \n");
    EXPECT_EQ(out.str(), "a\n");
}

}  // namespace
}  // namespace fmhost
