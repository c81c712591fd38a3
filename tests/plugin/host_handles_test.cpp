#include "hostapi/HostAdapters.h"
#include "hostapi/HostHandles.h"

#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

#include <new>

namespace {

class HostHandles : public ::testing::Test {
protected:
    void SetUp() override {
        fmw::clearMisuse();
        fmw::resetHostCalls();
    }
    void TearDown() override {
        fmw::clearHostFault();
        EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
        EXPECT_EQ(fmw::misuseCount(), 0u) << fmw::lastMisuse();
    }
};

TEST_F(HostHandles, ReleaseOnceOnDestruction) {
    {
        zera::TextHandle text;
        zera::QuadCharHandle quad('G', 'I', 'F', 'f');
        zera::BinaryDataHandle data;
        EXPECT_EQ(fmw::pluginOwnedLive(), 3u);
    }
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
}

TEST_F(HostHandles, MovingTransfersAndReleasesTheTargetsObject) {
    zera::TextHandle first;
    zera::TextHandle second;
    fmx::Text* firstObject = first.get();
    second = std::move(first);
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_EQ(second.get(), firstObject);
    EXPECT_EQ(fmw::pluginOwnedLive(), 1u) << "the target's own text was released";

    const std::uint64_t calls = fmw::hostCallCount();
    zera::TextHandle& alias = second;
    second = std::move(alias);
    EXPECT_EQ(second.get(), firstObject);
    EXPECT_EQ(fmw::hostCallCount(), calls) << "self-assignment makes no host call";

    zera::TextHandle moved(std::move(second));
    EXPECT_EQ(moved.get(), firstObject);
    EXPECT_EQ(fmw::hostCallCount(), calls);
}

TEST_F(HostHandles, EmptyHandleMakesNoCallWhenDestroyed) {
    {
        zera::TextHandle text;
        zera::TextHandle other(std::move(text));
        const std::uint64_t calls = fmw::hostCallCount();
        { zera::TextHandle emptied(std::move(text)); }
        EXPECT_EQ(fmw::hostCallCount(), calls);
    }
}

TEST_F(HostHandles, FailedConstructionLeavesTheHandleUnmade) {
    fmw::failHostCall(1, 1);
    EXPECT_THROW(zera::TextHandle(), std::bad_alloc);
    fmw::resetHostCalls();
    fmw::failHostCall(1, 2);
    EXPECT_THROW(zera::QuadCharHandle('Z', 'E', 'R', 'A'), std::exception);
    fmw::resetHostCalls();
    fmw::failHostCall(1, 3);
    zera::BinaryDataHandle made;
    EXPECT_NE(made.get(), nullptr) << "code 3 is not an error";
}

TEST_F(HostHandles, AdaptersReadParametersAsTheHostGivesThem) {
    fmw::ParameterVector parameters(
        {fmw::Value::text(u""), fmw::Value::text(u"abc"), fmw::Value::number(3.7), fmw::Value::text(u"-12.9x")});
    EXPECT_EQ(zera::parameterCount(parameters.get()), 4u);
    EXPECT_EQ(zera::readTextParam(parameters.get(), 0), u"");
    EXPECT_EQ(zera::readTextParam(parameters.get(), 1), u"abc");
    EXPECT_EQ(zera::readTextParam(parameters.get(), 2), u"3.7");
    EXPECT_EQ(zera::readIntegerParam(parameters.get(), 2), fmw::numberToLong(3.7));
    EXPECT_EQ(zera::readIntegerParam(parameters.get(), 3), fmw::numberToLong(fmw::textToNumber(u"-12.9x")));
}

}  // namespace
