#include "com_test_objects.h"

#include "platform_test.h"

#include <platform/com_init.h>
#include <platform/com_ptr.h>
#include <platform/com_values.h>
#include <platform/unique_handle.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

using platform::ComPtr;

TEST(ComPtr, EachOwnerGivesBackExactlyTheReferenceItHolds) {
    CountedObject object(true);
    {
        auto held = ComPtr<IUnknown>::hold(&object);
        EXPECT_EQ(object.references, 2u);
        ComPtr<IUnknown> copy = held;
        EXPECT_EQ(object.references, 3u);
        ComPtr<IUnknown> moved = std::move(copy);
        EXPECT_EQ(object.references, 3u);
        EXPECT_FALSE(copy);
        const auto runnable = moved.query<IRunnableObject>(IID_IRunnableObject);
        ASSERT_TRUE(runnable);
        EXPECT_EQ(object.references, 4u);
        EXPECT_FALSE(moved.query<IClassFactory>(IID_IClassFactory));
        held = moved;  // the same object: one reference each, none lost
        EXPECT_EQ(object.references, 4u);
    }
    EXPECT_EQ(object.references, 1u);

    ComPtr<IUnknown> out;
    ASSERT_EQ(object.QueryInterface(IID_IUnknown, out.putVoid()), S_OK);
    ASSERT_EQ(object.QueryInterface(IID_IUnknown, out.putVoid()), S_OK);  // put lets go of the first
    EXPECT_EQ(object.references, 2u);
    IUnknown* handedOver = out.detach();
    EXPECT_EQ(object.references, 2u);
    ComPtr<IUnknown>::adopt(handedOver).reset();
    EXPECT_EQ(object.references, 1u);
    EXPECT_FALSE(platform::queryInterface<IUnknown>(nullptr, IID_IUnknown));
}

TEST(UniqueBstr, FreesTheStringsItOwnsWhateverCameLast) {
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    {
        auto text = platform::UniqueBstr::copyOf(u"Order 1042");
        ASSERT_TRUE(text);
        EXPECT_EQ(text.text(), u"Order 1042");
        // A callee that replaces a by-reference string leaves its own.
        BSTR* argument = text.byRef();
        SysFreeString(*argument);
        *argument = SysAllocString(wide(u"replaced"));
        *text.put() = SysAllocString(wide(u"put"));
        EXPECT_EQ(text.text(), u"put");
        STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before + 1));
        EXPECT_EQ(platform::UniqueBstr().text(), u"");
    }
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));
}

TEST(UniqueVariant, ClearsWhatACallLeftInIt) {
    STAND_IN_COUNT(const std::size_t before = winplatform::liveBstrCount());
    {
        platform::UniqueVariant value;
        EXPECT_EQ(value.get().vt, VT_EMPTY);
        for (const char16_t* text : {u"first", u"second"}) {
            VARIANT* out = value.put();
            out->vt = VT_BSTR;
            out->bstrVal = SysAllocString(wide(text));
        }
        STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before + 1));
    }
    STAND_IN_COUNT(EXPECT_EQ(winplatform::liveBstrCount(), before));
}

// On a thread of its own, which starts with COM uninitialised.
TEST(ScopedComInit, PairsEachSuccessWithOneUninitialise) {
    std::thread([] {
        {
            const platform::ScopedComInit outer;
            EXPECT_EQ(outer.status(), S_OK);
            const platform::ScopedComInit inner;
            EXPECT_EQ(inner.status(), S_FALSE);
            const platform::ScopedComInit otherModel(COINIT_MULTITHREADED);
            EXPECT_EQ(otherModel.status(), RPC_E_CHANGED_MODE);
        }
        // Every success was undone: the thread starts afresh.
        const platform::ScopedComInit again;
        EXPECT_EQ(again.status(), S_OK);
    }).join();
}

TEST(UniqueFile, ClosesAnOpenFileAndIgnoresAFailedOpen) {
    const platform::UniqueFile missing(
        CreateFileW(wide(u"/nonexistent-folder/file"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    const std::string path = ::testing::TempDir() + "unique_file";
    const std::u16string widePath(path.begin(), path.end());
    platform::UniqueFile file(
        CreateFileW(wide(widePath.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
    // Opened without sharing: a second open fails until the first is closed.
    const auto reopen = [&] {
        return platform::UniqueFile(
            CreateFileW(wide(widePath.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    EXPECT_FALSE(reopen());
    file.reset();
    EXPECT_TRUE(reopen());
}

}  // namespace
