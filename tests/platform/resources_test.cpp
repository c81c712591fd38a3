// The module's resources as the platform library serves them, read from the
// plug-in module itself.
#include <windows.h>

#include "platform_test.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

class ModuleResources : public ::testing::Test {
protected:
    void SetUp() override {
        handle = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        module = static_cast<HMODULE>(handle);
    }
    void TearDown() override { dlclose(handle); }

    std::u16string load(UINT id, int capacity) {
        std::u16string buffer(static_cast<std::size_t>(capacity) + 4, u'#');
        const int copied = LoadStringW(module, id, wide(buffer.data()), capacity);
        EXPECT_GE(copied, 0);
        return buffer.substr(0, static_cast<std::size_t>(copied)) +
               (buffer[static_cast<std::size_t>(copied)] == 0 ? u"" : u"<no terminator>");
    }

    void* handle = nullptr;
    HMODULE module = nullptr;
};

TEST_F(ModuleResources, LoadStringCopiesCutsAndTerminates) {
    EXPECT_EQ(load(128, 100), u"Penvira Sig Capture");
    EXPECT_EQ(load(128, 20), u"Penvira Sig Capture") << "exactly room for the terminator";
    EXPECT_EQ(load(128, 19), u"Penvira Sig Captur");
    // The stand-in terminates a buffer of one unit; wine leaves it untouched.
    EXPECT_EQ(load(128, 1), kOnWindows ? u"<no terminator>" : u"");
    EXPECT_EQ(load(164, 100), u"ZERA_GetLastError( Type )");
    EXPECT_EQ(load(1, 100), u"ZERA1nnYnnn");
}

TEST_F(ModuleResources, AModuleLoadedAgainIsReadAgain) {
    // The module's directory is kept between calls; a module unloaded and
    // loaded again (maybe elsewhere, under the same handle) is found anew.
    EXPECT_EQ(load(128, 100), u"Penvira Sig Capture");
    WCHAR fromProgram[4] = {u'x'};
    EXPECT_EQ(LoadStringW(nullptr, 128, fromProgram, 4), 0) << "the test program carries no strings";
    dlclose(handle);
    handle = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    module = static_cast<HMODULE>(handle);
    EXPECT_EQ(load(164, 100), u"ZERA_GetLastError( Type )");
    EXPECT_EQ(LoadStringW(nullptr, 128, fromProgram, 4), 0);
}

TEST_F(ModuleResources, LoadStringOfAMissingStringLeavesItEmpty) {
    WCHAR buffer[8] = {u'x', u'x'};
    EXPECT_EQ(LoadStringW(module, 130, buffer, 8), 0) << "a string of an existing block that is not defined";
    EXPECT_EQ(buffer[0], 0);
    buffer[0] = u'x';
    EXPECT_EQ(LoadStringW(module, 4000, buffer, 8), 0) << "a block that does not exist";
    // The stand-in empties the buffer; wine, finding no block, leaves it untouched.
    EXPECT_EQ(buffer[0], kOnWindows ? u'x' : 0);
    EXPECT_EQ(LoadStringW(module, 128, nullptr, 8), 0);
}

TEST_F(ModuleResources, LoadStringWithNoCapacityHandsOutAPointer) {
    const WCHAR* pointer = nullptr;
    const int length = LoadStringW(module, 128, reinterpret_cast<LPWSTR>(&pointer), 0);
    ASSERT_EQ(length, 19);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(std::u16string(utf16(pointer), 19), u"Penvira Sig Capture");
}

TEST_F(ModuleResources, ResourcesAreFoundByTypeAndName) {
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_VERSION), nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(2), RT_MANIFEST), nullptr);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(11016), RT_DIALOG), nullptr);
    EXPECT_NE(FindResourceW(module, wide(u"#11016"), RT_DIALOG), nullptr) << "a number written as #text";
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(11010), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(99)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

// Looks for a UTF-16 string inside resource bytes.
bool containsUtf16(const BYTE* data, DWORD size, std::u16string_view text) {
    const auto* bytes = reinterpret_cast<const char*>(data);
    const std::string wanted(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return std::string_view(bytes, size).find(wanted) != std::string_view::npos;
}

TEST_F(ModuleResources, VersionResourceCarriesTheModulesIdentity) {
    HRSRC version = FindResourceW(module, MAKEINTRESOURCEW(1), RT_VERSION);
    ASSERT_NE(version, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, version)));
    const DWORD size = SizeofResource(module, version);
    ASSERT_NE(data, nullptr);
    // The fixed part: signature, then file and product version 1.0.5.1.
    const DWORD signature = 0xFEEF04BD;
    const auto* signatureBytes = reinterpret_cast<const BYTE*>(&signature);
    const BYTE* fixed = std::search(data, data + size, signatureBytes, signatureBytes + sizeof signature);
    ASSERT_NE(fixed, data + size);
    DWORD words[6];
    std::memcpy(words, fixed, sizeof words);
    EXPECT_EQ(words[2], 0x00010000u);
    EXPECT_EQ(words[3], 0x00050001u);
    EXPECT_EQ(words[4], 0x00010000u);
    EXPECT_EQ(words[5], 0x00050001u);
    for (const char16_t* text : {u"Signature Capturing Plug-in. ", u"ZERA_VirOrar", u"ZERA_VirOrar.fmx",
                                 u"Penvira Sig Capture", u"Special com build"}) {
        EXPECT_TRUE(containsUtf16(data, size, text));
    }
}

TEST_F(ModuleResources, ModuleHandleFromAnAddressInsideIt) {
    void* entry = dlsym(handle, "FMExternCallProc");
    ASSERT_NE(entry, nullptr);
    HMODULE found = nullptr;
    ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   static_cast<LPCWSTR>(entry), &found));
    EXPECT_EQ(found, module);
}

TEST_F(ModuleResources, ManifestMakesAnActivationContext) {
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = module;
    context.lpResourceName = MAKEINTRESOURCEW(2);
    HANDLE made = CreateActCtxW(&context);
    ASSERT_NE(made, INVALID_HANDLE_VALUE);
    ULONG_PTR outer = 0;
    ULONG_PTR inner = 0;
    ASSERT_TRUE(ActivateActCtx(made, &outer));
    ASSERT_TRUE(ActivateActCtx(made, &inner));
    // Windows raises STATUS_SXS_EARLY_DEACTIVATION for a context ended out
    // of order; the stand-in answers FALSE.
    if (!kOnWindows) {
        EXPECT_FALSE(DeactivateActCtx(0, outer)) << "contexts end in reverse order";
    }
    EXPECT_TRUE(DeactivateActCtx(0, inner));
    EXPECT_TRUE(DeactivateActCtx(0, outer));
    ReleaseActCtx(made);

    context.lpResourceName = MAKEINTRESOURCEW(7);
    EXPECT_EQ(CreateActCtxW(&context), INVALID_HANDLE_VALUE);
}

}  // namespace
