// The plug-in's table of the pad control's members beside the control's own
// table: the same members, under the same names and DISPIDs, of the same
// types, so that a call the plug-in's tests accept is one the control takes.
#include "capture/SigPlusMembers.h"
#include "members.h"

#include <sigplus/control.h>

#include <gtest/gtest.h>

#include <iterator>

namespace {

namespace plugin = zera::sigplus;
namespace control = ::sigplus;

TEST(MemberTable, ThePlugInAndTheControlAgreeOnEveryMember) {
    ASSERT_EQ(std::size(plugin::kMembers), control::members().size());
    for (const plugin::Member& own : plugin::kMembers) {
        SCOPED_TRACE(own.name);
        EXPECT_EQ(plugin::findMember(own.id), &own) << "one entry per DISPID";
        const control::Member* theirs = control::findMember(own.id);
        ASSERT_NE(theirs, nullptr);
        EXPECT_STREQ(theirs->name, own.name);
        EXPECT_EQ(theirs->property, own.property);
        EXPECT_EQ(control::variantTypeOf(theirs->type), own.type);
        ASSERT_EQ(theirs->argumentCount, own.argumentCount);
        for (std::size_t i = 0; i < own.argumentCount; ++i) {
            EXPECT_EQ(control::variantTypeOf(theirs->arguments[i]), own.arguments[i]) << "argument " << i;
        }
    }
}

TEST(MemberTable, ThePlugInReachesTheControlByItsOwnIdentifiers) {
    EXPECT_TRUE(plugin::kClassId == control::CLSID_SigPlus);
    EXPECT_TRUE(plugin::kDispatchIid == control::DIID_SigPlus);
    EXPECT_EQ(plugin::kPenDownEvent, control::dispid::PenDown);
}

}  // namespace
