// A test with the plug-in loaded afresh and started. At the end it is shut
// down, and nothing of it may be left: no host object it owns, no misuse
// of the host's interface, no open file, no activation context still active.
#pragma once

#include "PluginModule.h"

#include <winplatform/diagnostics.h>

#include <gtest/gtest.h>

class StartedPlugin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(plugin.startup(), 53); }
    void TearDown() override {
        plugin.shutdown();
        EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
        EXPECT_EQ(fmw::misuseCount(), 0u) << fmw::lastMisuse();
        EXPECT_EQ(winplatform::openFileCount(), 0u);
        EXPECT_EQ(winplatform::activationStats().depth, 0u);
    }

    PluginModule plugin;
};
