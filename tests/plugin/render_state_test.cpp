// What a render leaves in the capture state, with the render handler called
// directly against a recording control.
#include "FakeControl.h"
#include "capture/CaptureState.h"
#include "capture/ControlHandlers.h"
#include "functions/LastError.h"

#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

namespace {

fmw::Value::Type render() {
    fmw::ParameterVector parameters({fmw::Value::text(u"stored signature"), fmw::Value::text(u"Order 1042")});
    fmw::ResultValue result;
    EXPECT_EQ(zera::Do_ZERA_RenderSigFromString(0, fmw::expressionEnvironment(), parameters.get(), result.get()), 0);
    return result.value().type();
}

class RenderState : public ::testing::Test {
protected:
    void SetUp() override { zera::LastError::create(); }
    void TearDown() override { zera::LastError::release(); }
};

TEST_F(RenderState, ARenderThatFailsLeavesThePreviousImage) {
    std::vector<std::uint8_t> first;
    {
        FakeControlRegistration control;
        ASSERT_EQ(render(), fmw::Value::Type::Container);
        first = zera::captureState().imageBuffer;
        EXPECT_EQ(first, control.script().image);

        control.script().signaturePoints = 0;
        EXPECT_EQ(render(), fmw::Value::Type::Text) << "no usable signature";
        EXPECT_EQ(zera::captureState().imageBuffer, first);
    }
    // With no control at all the render fails before it starts.
    EXPECT_EQ(render(), fmw::Value::Type::Text);
    EXPECT_EQ(zera::LastError::code(), -200);
    EXPECT_EQ(zera::captureState().imageBuffer, first);
}

}  // namespace
