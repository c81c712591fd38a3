#include "com_test_objects.h"

#include "platform_test.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Wine answers a cookie it no longer holds E_INVALIDARG; the stand-in
// CO_E_OBJNOTREG.
const HRESULT kRevokedAgain = kOnWindows ? E_INVALIDARG : CO_E_OBJNOTREG;

TEST(ComInit, CountsEachSuccessfulInitialisationOfTheThread) {
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 0u));
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 1u));
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 2u));
    CoUninitialize();
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 1u));
    CoUninitialize();
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 0u));
    CoUninitialize();  // one too many changes nothing
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 0u));
}

TEST(ComInit, ASecondModelIsRefusedAndNotCounted) {
    ComScope sta;
    ASSERT_EQ(sta.result, S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 1u));
}

TEST(ComInit, RefusesAReservedArgument) {
    int reserved = 0;
    // Wine ignores the reserved argument and initialises.
    const HRESULT result = CoInitializeEx(&reserved, COINIT_APARTMENTTHREADED);
    EXPECT_EQ(result, kOnWindows ? S_OK : E_INVALIDARG);
    if (SUCCEEDED(result)) CoUninitialize();
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 0u));
}

TEST(ComInit, IsCountedPerThread) {
    ComScope sta;
    ASSERT_EQ(sta.result, S_OK);
    STAND_IN_COUNT(std::size_t seen = 99);
    HRESULT other = E_FAIL;
    std::thread([&] {
        STAND_IN_COUNT(seen = winplatform::comInitCount());
        other = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoUninitialize();
    }).join();
    STAND_IN_COUNT(EXPECT_EQ(seen, 0u));
    EXPECT_EQ(other, S_OK);
    STAND_IN_COUNT(EXPECT_EQ(winplatform::comInitCount(), 1u));
}

TEST(CoCreate, FailsBeforeTheThreadInitialisedCom) {
    CountingFactory factory;
    void* object = &factory;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object), CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    DWORD cookie = 5;
    EXPECT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(factory.references, 1u);
}

TEST(CoCreate, AnUnregisteredClassIsNotRegistered) {
    ComScope com;
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, nullptr), E_POINTER);
}

TEST(CoRegisterClassObject, ServesCreationUntilRevoked) {
    ComScope com;
    CountingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    EXPECT_EQ(factory.references, 2u);  // the registration holds one

    IUnknown* object = nullptr;
    ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(object, static_cast<IUnknown*>(&factory.product));
    EXPECT_EQ(factory.creations, 1);
    object->Release();

    void* runnable = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IRunnableObject, &runnable), E_NOINTERFACE);
    EXPECT_EQ(runnable, nullptr);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(factory.references, 1u);
    EXPECT_EQ(CoRevokeClassObject(cookie), kRevokedAgain);
    void* after = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, &after), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(factory.references, 1u);
}

TEST(CoRegisterClassObject, AnswersOnlyInItsClassContexts) {
    ComScope com;
    CountingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    void* object = nullptr;
    // Wine serves a registered class object whatever context is asked for;
    // the stand-in only in the contexts it was registered for.
    const HRESULT inproc = CoCreateInstance(kTestClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object);
    EXPECT_EQ(inproc, kOnWindows ? S_OK : REGDB_E_CLASSNOTREG);
    if (SUCCEEDED(inproc)) static_cast<IUnknown*>(object)->Release();
    ASSERT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, &object), S_OK);
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST(CoRegisterClassObject, PassesTheFactoryRefusalOfAggregationOn) {
    ComScope com;
    CountingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    CountedObject outer;
    void* object = &outer;
    EXPECT_EQ(CoCreateInstance(kTestClass, &outer, 0x17, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(factory.creations, 0);
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST(CoRegisterClassObject, TheLastUninitialiseOfTheThreadRevokes) {
    CountingFactory factory;
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    CoUninitialize();
    EXPECT_EQ(factory.references, 2u);  // still initialised once
    CoUninitialize();
    EXPECT_EQ(factory.references, 1u);
    ComScope again;
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kTestClass, nullptr, 0x17, IID_IUnknown, &object), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoRevokeClassObject(cookie), kRevokedAgain);
}

TEST(CoGetClassObject, GivesTheRegisteredObjectAskedForTheInterface) {
    ComScope com;
    CountingFactory factory;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kTestClass, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie), S_OK);
    IClassFactory* got = nullptr;
    ASSERT_EQ(CoGetClassObject(kTestClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&got)),
              S_OK);
    EXPECT_EQ(got, static_cast<IClassFactory*>(&factory));
    got->Release();
    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
}

TEST(OleRun, RunsAnObjectThatCanBeRun) {
    CountedObject runnable(true);
    EXPECT_EQ(OleRun(&runnable), S_OK);
    EXPECT_EQ(runnable.runs, 1);
    EXPECT_EQ(runnable.references, 1u);

    CountedObject failing(true, E_FAIL);
    EXPECT_EQ(OleRun(&failing), E_FAIL);
    EXPECT_EQ(failing.references, 1u);
}

TEST(OleRun, AnObjectWithoutTheInterfaceIsRunningAlready) {
    CountedObject plain(false);
    EXPECT_EQ(OleRun(&plain), S_OK);
    EXPECT_EQ(plain.runs, 0);
    // Wine reads through a null object; the stand-in refuses it.
    if (!kOnWindows) {
        EXPECT_EQ(OleRun(nullptr), E_INVALIDARG);
    }
}

TEST(HResult, SuccessAndFailureFollowTheSeverityBit) {
    EXPECT_TRUE(SUCCEEDED(S_OK));
    EXPECT_TRUE(SUCCEEDED(S_FALSE));
    EXPECT_TRUE(FAILED(E_FAIL));
    EXPECT_TRUE(FAILED(REGDB_E_CLASSNOTREG));
    EXPECT_EQ(static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH), 0x80020005u);
    EXPECT_EQ(static_cast<std::uint32_t>(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)), 0x8007007Eu);
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_SUCCESS), S_OK);
}

}  // namespace
