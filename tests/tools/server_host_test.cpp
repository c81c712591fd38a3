// The plug-in as a FileMaker Server loads it: the module and the pad control
// copied into an Extensions folder of their own, nothing registered, and a
// process that has only the host's runtime, no libwinplatform.so. A render
// and a save work there; a capture, with no screen and no input, answers at
// once.
#include "ExampleSignature.h"
#include "GifPixels.h"

#include <FMWrapper/CallBlockBytes.h>
#include <FMWrapper/HostSide.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using fmw::Value;

std::vector<std::uint8_t> readBytes(const fs::path& path) {
    std::vector<std::uint8_t> bytes(fs::exists(path) ? fs::file_size(path) : 0);
    std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

class ServerHost : public testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("zera-server-" + std::to_string(::getpid()));
        const fs::path extensions = root / "Extensions";
        fs::create_directories(extensions);
        for (const char* file : {ZERA_PLUGIN_FILE, SIGPLUS_LIBRARY}) fs::copy_file(file, extensions / fs::path(file).filename());
        ::setenv("WIN_DRIVE_C", root.c_str(), 1);
        module = dlopen((extensions / fs::path(ZERA_PLUGIN_FILE).filename()).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr) << dlerror();
        entry = reinterpret_cast<fmw::ExternCallProc>(dlsym(module, "FMExternCallProc"));
        ASSERT_NE(entry, nullptr);
        fmw::CallBlockBytes startup(fmw::kWhichCallInit, 60, reinterpret_cast<const void*>(entry),
                                    reinterpret_cast<std::uintptr_t>(module));
        entry(startup.data());
        ASSERT_EQ(startup.result(), 53);
    }
    void TearDown() override {
        if (entry != nullptr) {
            fmw::CallBlockBytes shutdown(fmw::kWhichCallShutdown, 60, reinterpret_cast<const void*>(entry),
                                         reinterpret_cast<std::uintptr_t>(module));
            entry(shutdown.data());
        }
        if (module != nullptr) dlclose(module);
        fmw::clearRegistry();
        ::unsetenv("WIN_DRIVE_C");
        fs::remove_all(root);
    }
    static Value call(const char16_t* name, const std::vector<Value>& arguments) {
        const auto function = fmw::findFunction(name);
        EXPECT_TRUE(function.has_value()) << "not registered";
        if (!function) return {};
        const fmw::CallResult outcome = fmw::callFunction(*function, arguments);
        EXPECT_EQ(outcome.returned, 0);
        return outcome.result;
    }

    fs::path root;
    void* module = nullptr;
    fmw::ExternCallProc entry = nullptr;
};

TEST_F(ServerHost, TheProcessHasNoPlatformLibraryOfItsOwn) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        EXPECT_EQ(line.find("libwinplatform"), std::string::npos) << "the module must stand alone here";
    }
}

TEST_F(ServerHost, RendersAndSavesWithTheControlBesideTheModule) {
    const Value image = call(u"ZERA_RenderSigFromString", {Value::text(exampleSignature()), Value::text(u"Order 1042")});
    ASSERT_EQ(image.type(), Value::Type::Container) << "the control beside the module was not found";
    const fmw::Container& container = image.containerValue();
    ASSERT_FALSE(container.streams.empty());
    EXPECT_EQ(container.streams[0].type, "GIFf");
    const GifSize rendered = decode(container.streams[0].bytes);
    EXPECT_EQ(rendered.width, 215);
    EXPECT_EQ(rendered.height, 70);
    EXPECT_GT(rendered.darkPixels, 100) << "the signature's ink";

    const fs::path saved = root / "signature.gif";
    const Value answer = call(u"ZERA_SaveSigToFile", {Value::text(exampleSignature()), Value::text(u"Order 1042"),
                                                      Value::text(std::u16string(saved.u16string()))});
    EXPECT_EQ(answer.textValue(), u"0");
    EXPECT_EQ(readBytes(saved), container.streams[0].bytes);

    EXPECT_EQ(call(u"ZERA_RenderSigFromString", {Value::text(exampleSignature()), Value::text(u"Order 7")}).textValue(),
              u"UNSIGNED")
        << "other bound data gives no image";
}

TEST_F(ServerHost, ACaptureWithNoScreenAnswersAtOnceThatTheDialogCouldNotOpen) {
    EXPECT_EQ(call(u"ZERA_CaptureSignature", {Value::text(u"Order 1042")}).textValue(), u"");
    EXPECT_EQ(call(u"ZERA_GetLastError", {Value::text(u"code")}).textValue(), u"-13002");
    EXPECT_EQ(fmw::pluginOwnedLive(), 0u);
}

}  // namespace
