#include "host_fixture.h"

#include <stdexcept>
#include <vector>

namespace {

// Concatenates its parameters as text into the result, in the result's locale.
FMErrcode joinHandler(int16_t functionId, const fmx::ExprEnv* env, const fmx::DataVect* parameters,
                      fmx::Data* result) {
    HostError err{kHostErrorVersion, 0};
    if (env != fmw::expressionEnvironment()) return 99;
    std::u16string joined;
    for (uint32_t i = 0; i < FM_DataVect_Size(parameters, err); ++i) {
        const fmx::Text* text = FM_DataVect_AtAsText(parameters, i, err);
        std::u16string units(FM_Text_GetSize(text, err), u'\0');
        FM_Text_GetUnicode(text, units.data(), 0, static_cast<uint32_t>(units.size()), err);
        joined += units;
    }
    fmx::Text* out = FM_Text_Constructor1(err);
    FM_Text_AssignUnicode(out, joined.c_str(), err);
    FM_Data_SetAsText(result, out, FM_Data_GetLocale(result, err), kTextNative, err);
    FM_Text_Delete(out, err);
    return functionId;
}

FMErrcode throwingHandler(int16_t, const fmx::ExprEnv*, const fmx::DataVect*, fmx::Data*) {
    throw std::runtime_error("handler failed");
}

}  // namespace

class Registry : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        plugin = FM_QuadChar_Constructor2('Z', 'E', 'R', 'A', err);
        other = FM_QuadChar_Constructor2('O', 'T', 'H', 'R', err);
    }
    void TearDown() override {
        FM_QuadChar_Delete(plugin, err);
        FM_QuadChar_Delete(other, err);
        HostTest::TearDown();
    }
    FMErrcode add(const fmx::QuadChar* id, int16_t functionId, const std::u16string& name) {
        fmx::Text* nameText = makeText(name);
        fmx::Text* prototype = makeText(name + u"( x )");
        const FMErrcode code = FM_ExprEnv_RegisterExternalFunction(id, functionId, nameText, prototype, 1, 2, 7,
                                                                   joinHandler, err);
        FM_Text_Delete(nameText, err);
        FM_Text_Delete(prototype, err);
        return code;
    }
    fmx::QuadChar* plugin = nullptr;
    fmx::QuadChar* other = nullptr;
};

TEST_F(Registry, RegistersInOrderAndReplacesInPlace) {
    EXPECT_EQ(add(plugin, 1, u"Zera_A"), 0);
    EXPECT_EQ(add(plugin, 2, u"Zera_B"), 0);
    EXPECT_EQ(add(other, 1, u"Other_A"), 0);
    EXPECT_EQ(add(plugin, 1, u"Zera_Renamed"), 0);

    const auto functions = fmw::registeredFunctions();
    ASSERT_EQ(functions.size(), 3u);
    EXPECT_EQ(functions[0].name, u"Zera_Renamed");
    EXPECT_EQ(functions[0].prototype, u"Zera_Renamed( x )");
    EXPECT_EQ(functions[1].name, u"Zera_B");
    EXPECT_EQ(functions[2].pluginId, "OTHR");
    EXPECT_EQ(functions[0].maxArgs, 2);
    EXPECT_EQ(functions[0].flags, 7u);

    ASSERT_TRUE(fmw::findFunction(u"zERA_b").has_value());
    EXPECT_EQ(fmw::findFunction(u"zERA_b")->id, 2);
    EXPECT_FALSE(fmw::findFunction(u"Zera_A").has_value());
    EXPECT_FALSE(fmw::findFunction(u"Zera_").has_value());
}

TEST_F(Registry, UnregisterRemovesAndRecordsEveryRequest) {
    add(plugin, 1, u"Zera_A");
    add(other, 1, u"Other_A");
    EXPECT_EQ(FM_ExprEnv_UnRegisterExternalFunction(plugin, 1, err), 0);
    EXPECT_EQ(FM_ExprEnv_UnRegisterExternalFunction(plugin, 9, err), 0);
    EXPECT_EQ(fmw::misuseCount(), 0u);

    ASSERT_EQ(fmw::registeredFunctions().size(), 1u);
    EXPECT_EQ(fmw::registeredFunctions()[0].pluginId, "OTHR");
    using Request = std::pair<std::string, std::int16_t>;
    EXPECT_EQ(fmw::unregisterRequests(), (std::vector<Request>{{"ZERA", 1}, {"ZERA", 9}}));

    fmw::clearRegistry();
    EXPECT_TRUE(fmw::registeredFunctions().empty());
    EXPECT_TRUE(fmw::unregisterRequests().empty());
}

TEST_F(Registry, CallFunctionPassesParametersAndReturnsTheResult) {
    add(plugin, 42, u"Zera_Join");
    const auto function = fmw::findFunction(u"zera_join");
    ASSERT_TRUE(function.has_value());
    const std::size_t dataBefore = fmw::liveObjects(fmw::Kind::Data);

    const fmw::CallResult call =
        fmw::callFunction(*function, {fmw::Value::text(u"a"), fmw::Value::number(1.5), fmw::Value()});
    EXPECT_EQ(call.returned, 42);
    EXPECT_EQ(call.result.textValue(), u"a1.5");
    EXPECT_EQ(fmw::misuseCount(), 0u);

    fmw::FunctionEntry failing = *function;
    failing.handler = throwingHandler;
    EXPECT_THROW(fmw::callFunction(failing, {fmw::Value::number(1)}), std::runtime_error);
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::Data), dataBefore);
    EXPECT_EQ(fmw::liveObjects(fmw::Kind::DataVect), 0u);
}
