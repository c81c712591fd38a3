// Functions registered straight through the host's registry for the
// evaluator and runner tests, each a handler written as a plug-in writes
// one, and a log of every call they receive.
#pragma once

#include "fm_calls.h"

#include "FMWrapper/HostSide.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace fmhost::testing {

inline std::vector<std::u16string>& callLog() {
    static std::vector<std::u16string> log;
    return log;
}

// Logs "Name(a|b|c)" with the parameters as the handler read them.
inline void logCall(const std::u16string& name, const fmx::DataVect* parameters) {
    std::u16string entry = name + u"(";
    const std::uint32_t n = fmcalls::parameterCount(parameters);
    for (std::uint32_t i = 0; i < n; ++i) entry += (i == 0 ? u"" : u"|") + fmcalls::textParameter(parameters, i);
    callLog().push_back(entry + u")");
}

// T_Join( a {; b} ): "a|b"
inline FMErrcode joinHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data* result) {
    logCall(u"T_Join", p);
    std::u16string text = fmcalls::textParameter(p, 0);
    if (fmcalls::parameterCount(p) > 1) text += u"|" + fmcalls::textParameter(p, 1);
    fmcalls::setText(result, text);
    return 0;
}

// T_Count( {a ; b ; c} ): how many parameters arrived
inline FMErrcode countHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data* result) {
    logCall(u"T_Count", p);
    const std::string count = std::to_string(fmcalls::parameterCount(p));
    fmcalls::setText(result, std::u16string(count.begin(), count.end()));
    return 0;
}

inline FMErrcode badAllocHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data*) {
    logCall(u"T_BadAlloc", p);
    throw std::bad_alloc();
}

inline FMErrcode throwHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data*) {
    logCall(u"T_Throw", p);
    throw std::runtime_error("boom");
}

inline FMErrcode throwIntHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data*) {
    logCall(u"T_ThrowInt", p);
    throw 42;
}

inline FMErrcode errorCodeHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data* result) {
    logCall(u"T_Code", p);
    fmcalls::setText(result, u"ignored");
    return 7;
}

// T_Picture( {fileName} ): a container with two streams, the GIF second
inline FMErrcode pictureHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data* result) {
    logCall(u"T_Picture", p);
    std::optional<std::u16string> fileName;
    if (fmcalls::parameterCount(p) > 0) fileName = fmcalls::textParameter(p, 0);
    fmcalls::setContainer(result, {{{'J', 'P', 'E', 'G'}, {1, 2, 3}}, {{'G', 'I', 'F', 'f'}, {'G', 0, '\n', 0xFF}}},
                          fileName, std::pair<std::int16_t, std::int16_t>{215, 70});
    return 0;
}

// T_Blank: a container with no stream at all
inline FMErrcode blankHandler(std::int16_t, const fmx::ExprEnv*, const fmx::DataVect* p, fmx::Data* result) {
    logCall(u"T_Blank", p);
    fmcalls::setContainer(result, {}, std::nullopt, std::nullopt);
    return 0;
}

class RegisteredFunctions : public ::testing::Test {
protected:
    void SetUp() override {
        fmw::clearRegistry();
        callLog().clear();
        add(1, u"T_Join", u"T_Join( a {; b} )", 1, 2, &joinHandler);
        add(2, u"T_Count", u"T_Count( {a ; b ; c} )", 0, 3, &countHandler);
        add(3, u"T_BadAlloc", u"T_BadAlloc", 0, 0, &badAllocHandler);
        add(4, u"T_Throw", u"T_Throw", 0, 0, &throwHandler);
        add(5, u"T_ThrowInt", u"T_ThrowInt", 0, 0, &throwIntHandler);
        add(6, u"T_Code", u"T_Code", 0, 0, &errorCodeHandler);
        add(7, u"T_Picture", u"T_Picture( fileName )", 0, 1, &pictureHandler);
        add(8, u"T_Blank", u"T_Blank", 0, 0, &blankHandler);
    }
    void TearDown() override { fmw::clearRegistry(); }

    static void add(std::int16_t id, const std::u16string& name, const std::u16string& prototype, std::int16_t min,
                    std::int16_t max, ExtPluginType handler) {
        ASSERT_EQ(fmcalls::registerFunction("TEST", id, name, prototype, min, max, handler), 0);
    }
};

}  // namespace fmhost::testing
