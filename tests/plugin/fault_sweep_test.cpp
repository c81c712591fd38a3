// Every host call of every entry call and handler is made to fail in turn:
// code 1 must surface as std::bad_alloc, code 2 as std::exception, code 3
// must change nothing, and no host object the plug-in made may outlive the
// call. A failing release cannot raise (it runs in destructors); the object
// is released all the same, so the outcome is as if nothing failed.
#include "FakeControl.h"
#include "PluginModule.h"
#include "ScriptedInput.h"

#include <platform/utf.h>
#include <winplatform/diagnostics.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <typeinfo>

namespace {

using fmw::Value;

struct Scenario {
    std::string name;
    std::function<void(PluginModule&)> prepare;
    std::function<std::string(PluginModule&)> run;
    bool withControl = false;
};

std::string describe(const fmw::CallResult& outcome) {
    std::string out = "returned " + std::to_string(outcome.returned) + ": ";
    switch (outcome.result.type()) {
        case Value::Type::Text: return out + "text " + platform::utf16ToUtf8(outcome.result.textValue());
        case Value::Type::Number: return out + "number";
        case Value::Type::Container: return out + "container";
        case Value::Type::Empty: return out + "empty";
    }
    return out;
}

void started(PluginModule& plugin) { ASSERT_EQ(plugin.startup(), 53); }

Scenario handler(const std::string& label, const std::u16string& function, std::vector<Value> arguments,
                 std::function<void(PluginModule&)> prepare = started) {
    return {label, std::move(prepare),
            [function, arguments](PluginModule& plugin) { return describe(plugin.run(function, arguments)); }};
}

Scenario withControl(Scenario scenario) {
    scenario.withControl = true;
    return scenario;
}

std::string saveTarget() { return "/tmp/zera-sweep-" + std::to_string(::getpid()) + ".gif"; }

std::vector<Scenario> scenarios() {
    std::vector<Scenario> all;
    all.push_back({"startup", [](PluginModule&) {},
                   [](PluginModule& plugin) {
                       fmw::CallBlockBytes b = plugin.block(fmw::kWhichCallInit);
                       b.setResult(12345);
                       try {
                           plugin.call(b);
                       } catch (...) {
                           EXPECT_EQ(b.result(), 12345) << "a failed start-up writes no answer";
                           throw;
                       }
                       return std::to_string(b.result()) + " with " + std::to_string(fmw::registeredFunctions().size());
                   }});
    all.push_back({"shutdown", started, [](PluginModule& plugin) {
                       plugin.shutdown();
                       return std::to_string(fmw::unregisterRequests().size());
                   }});
    all.push_back(handler("version", u"ZERA_Version", {}));
    all.push_back(handler("version short", u"ZERA_Version", {T(u"short")}));
    all.push_back(handler("last error text", u"ZERA_GetLastError", {}, [](PluginModule& plugin) {
        started(plugin);
        plugin.run(u"ZERA_SetBannerPath", {T(u"")});
    }));
    all.push_back(handler("last error code", u"ZERA_GetLastError", {T(u"code")}));
    all.push_back(handler("tablet mode", u"ZERA_SetTabletMode", {N(65542)}));
    all.push_back(handler("com port", u"ZERA_SetTabletComPort", {N(3)}));
    all.push_back(handler("pen width", u"ZERA_SetImagePenWidth", {N(4)}));
    all.push_back(handler("banner exists", u"ZERA_SetBannerPath", {T(u"/tmp")}));
    all.push_back(handler("banner missing", u"ZERA_SetBannerPath", {T(u"/no/such/banner.bmp")}));
    all.push_back(handler("banner cleared", u"ZERA_SetBannerPath", {}));
    all.push_back(handler("capture", u"ZERA_CaptureSignature", {T(u"Order 1042")}));
    all.push_back(withControl(handler("capture accepted", u"ZERA_CaptureSignature", {T(u"Order 1042")},
                                      [](PluginModule& plugin) {
                                          started(plugin);
                                          scriptInput({clickOn(1)});
                                      })));
    all.push_back(handler("render without control", u"ZERA_RenderSigFromString", {T(u"sig"), T(u"Order 1042")}));
    all.push_back(withControl(handler("render", u"ZERA_RenderSigFromString", {T(u"sig"), T(u"Order 1042")})));
    all.push_back(handler("save without control", u"ZERA_SaveSigToFile",
                          {T(u"sig"), T(u"Order 1042"), T(u"/tmp/never.gif")}));
    const std::u16string target = platform::utf8ToUtf16(saveTarget());
    all.push_back(withControl(handler("save", u"ZERA_SaveSigToFile", {T(u"sig"), T(u"Order 1042"), T(target)})));
    all.push_back(withControl(handler("save fails", u"ZERA_SaveSigToFile",
                                      {T(u"sig"), T(u"Order 1042"), T(u"/no/such/folder/sig.gif")})));
    return all;
}

bool isRelease(const std::string& operation) {
    return operation.size() > 7 && operation.compare(operation.size() - 7, 7, "_Delete") == 0;
}

class FaultSweep : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultSweep, HostFailuresPropagateAndNothingLeaks) {
    const Scenario& scenario = GetParam();

    std::string baseline;
    std::vector<std::string> operations;
    std::optional<FakeControlRegistration> control;
    if (scenario.withControl) control.emplace();
    const std::size_t comBaseline = winplatform::comInitCount();
    {
        PluginModule plugin;
        scenario.prepare(plugin);
        fmw::resetHostCalls();
        fmw::clearJournal();
        fmw::setJournalEnabled(true);
        baseline = scenario.run(plugin);
        fmw::setJournalEnabled(false);
        operations = fmw::journal();
        ASSERT_EQ(operations.size(), fmw::hostCallCount());
        ASSERT_FALSE(operations.empty());
        ASSERT_EQ(fmw::pluginOwnedLive(), 0u);
    }

    for (std::uint64_t call = 1; call <= operations.size(); ++call) {
        for (std::int32_t code : {1, 2, 3}) {
            SCOPED_TRACE("host call " + std::to_string(call) + " (" + operations[call - 1] + ") reports " +
                         std::to_string(code));
            PluginModule plugin;
            scenario.prepare(plugin);
            fmw::clearMisuse();
            fmw::resetHostCalls();
            fmw::failHostCall(call, code);

            std::string outcome;
            bool outOfMemory = false;
            bool plainException = false;
            try {
                outcome = scenario.run(plugin);
            } catch (const std::bad_alloc&) {
                outOfMemory = true;
            } catch (const std::exception& e) {
                plainException = typeid(e) == typeid(std::exception);
            }
            fmw::clearHostFault();

            const bool raises = (code == 1 || code == 2) && !isRelease(operations[call - 1]);
            EXPECT_EQ(outOfMemory, raises && code == 1);
            EXPECT_EQ(plainException, raises && code == 2);
            if (!raises) {
                EXPECT_EQ(outcome, baseline);
            }
            EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
            EXPECT_EQ(fmw::misuseCount(), 0u) << fmw::lastMisuse();
            EXPECT_EQ(winplatform::activationStats().depth, 0u);
            EXPECT_EQ(winplatform::comInitCount(), comBaseline);
            EXPECT_EQ(winplatform::openFileCount(), 0u);
            if (control) {
                EXPECT_EQ(control->objectsAlive(), 0);
            }
        }
    }
}

// The save scenario writes a real file; it goes when the program ends.
struct RemoveSaveTarget : ::testing::Environment {
    void TearDown() override { std::remove(saveTarget().c_str()); }
};
const auto* removeSaveTarget = ::testing::AddGlobalTestEnvironment(new RemoveSaveTarget);

INSTANTIATE_TEST_SUITE_P(EntryAndHandlers, FaultSweep, ::testing::ValuesIn(scenarios()),
                         [](const ::testing::TestParamInfo<Scenario>& param) {
                             std::string name = param.param.name;
                             for (char& c : name) {
                                 if (c == ' ') c = '_';
                             }
                             return name;
                         });

}  // namespace
