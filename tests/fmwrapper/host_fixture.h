// Shared set-up for the runtime's tests: a clean runtime per test and small
// helpers to make and read plug-in texts.
#pragma once

#include "FMWrapper/HostSide.h"

#include <gtest/gtest.h>

#include <string>

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        fmw::clearMisuse();
        fmw::clearHostFault();
        fmw::resetHostCalls();
        fmw::setJournalEnabled(false);
        fmw::clearJournal();
        fmw::clearRegistry();
        ownedAtStart_ = fmw::pluginOwnedLive();
    }
    void TearDown() override { EXPECT_EQ(fmw::pluginOwnedLive(), ownedAtStart_) << "plug-in objects leaked"; }

    fmx::Text* makeText(const std::u16string& units) {
        fmx::Text* text = FM_Text_Constructor1(err);
        FM_Text_AssignUnicode(text, units.c_str(), err);
        return text;
    }
    std::u16string read(const fmx::Text* text) {
        std::u16string units(FM_Text_GetSize(text, err), u'\0');
        FM_Text_GetUnicode(text, units.data(), 0, static_cast<uint32_t>(units.size()), err);
        return units;
    }

    HostError err{kHostErrorVersion, 0};

private:
    std::size_t ownedAtStart_ = 0;
};
