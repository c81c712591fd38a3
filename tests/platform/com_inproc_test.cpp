// In-process servers: the real control library, loaded by COM with dlopen.
// This program does not link the library; only COM brings it in.
#include "com_test_objects.h"

#include "winplatform/com_registry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

constexpr IID kSigPlusDispatch{0x69A40DA1, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};

bool libraryLoaded(const char* path) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr) dlclose(handle);
    return handle != nullptr;
}

class InprocServer : public ::testing::Test {
protected:
    void TearDown() override {
        winplatform::unregisterInprocServer(kSigPlus);
        winplatform::unregisterInprocServer(kTestClass);
        unsetenv(winplatform::kInprocServersVariable);
    }
    ComScope com;
};

TEST_F(InprocServer, LoadsTheRegisteredLibraryAndCreatesItsObject) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, SIGPLUS_LIBRARY), S_OK);
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(libraryLoaded(SIGPLUS_LIBRARY));

    IDispatch* dispatch = nullptr;
    ASSERT_EQ(object->QueryInterface(kSigPlusDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    IUnknown* identity = nullptr;
    ASSERT_EQ(dispatch->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, object);
    identity->Release();
    dispatch->Release();

    void* none = &none;
    EXPECT_EQ(object->QueryInterface(kTestClass, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(OleRun(object), S_OK);
    object->Release();
}

TEST_F(InprocServer, UnregisteredAgainTheClassIsNotRegistered) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, SIGPLUS_LIBRARY), S_OK);
    EXPECT_EQ(winplatform::inprocServerPath(kSigPlus), std::string(SIGPLUS_LIBRARY));
    EXPECT_EQ(winplatform::unregisterInprocServer(kSigPlus), S_OK);
    EXPECT_EQ(winplatform::unregisterInprocServer(kSigPlus), S_FALSE);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(winplatform::inprocServerPath(kSigPlus).has_value());
    EXPECT_EQ(winplatform::registerInprocServer(kSigPlus, ""), E_INVALIDARG);
}

TEST_F(InprocServer, IsNotUsedOutsideTheInProcessContext) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, SIGPLUS_LIBRARY), S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kSigPlus, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
}

TEST_F(InprocServer, AMissingLibraryIsAModuleNotFound) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, "/nonexistent/libsigplus.so"), S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, &object), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(object, nullptr);
}

TEST_F(InprocServer, ALibraryWithoutTheClassObjectExportIsAnErrorInTheLibrary) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, WINPLATFORM_LIBRARY), S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, &object), CO_E_ERRORINDLL);
}

TEST_F(InprocServer, ALibraryAskedForAClassItDoesNotServeSaysSo) {
    ASSERT_EQ(winplatform::registerInprocServer(kTestClass, SIGPLUS_LIBRARY), S_OK);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, &object), CLASS_E_CLASSNOTAVAILABLE);
}

TEST_F(InprocServer, RefusesAggregation) {
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, SIGPLUS_LIBRARY), S_OK);
    CountedObject outer;
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kSigPlus, &outer, 0x17, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
}

TEST_F(InprocServer, CanBeNamedByTheEnvironment) {
    const std::string list = std::string("garbage;{nothing}=x;{69A40DA3-4D42-11D0-86B0-0000C025864A}=") +
                             SIGPLUS_LIBRARY + ";";
    setenv(winplatform::kInprocServersVariable, list.c_str(), 1);
    EXPECT_EQ(winplatform::inprocServerPath(kSigPlus), std::string(SIGPLUS_LIBRARY));
    EXPECT_FALSE(winplatform::inprocServerPath(kTestClass).has_value());
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    object->Release();
}

TEST_F(InprocServer, ARegistrationOfTheProgramComesBeforeTheEnvironment) {
    setenv(winplatform::kInprocServersVariable, "{69A40DA3-4D42-11D0-86B0-0000C025864A}=/nonexistent.so", 1);
    ASSERT_EQ(winplatform::registerInprocServer(kSigPlus, SIGPLUS_LIBRARY), S_OK);
    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kSigPlus, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    object->Release();
}

}  // namespace
