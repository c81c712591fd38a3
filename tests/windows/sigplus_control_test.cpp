// sigplus.dll as an ActiveX control in a plain window: in-place activation,
// pen records by WM_COPYDATA and the mouse as pen input, PenDown reaching a
// sink, the ink painted, and a signature string for the other system.
// The DLL is loaded from beside the program, without registration.
#include "sigplus/control.h"
#include "sigplus/pen_record.h"

#include <gtest/gtest.h>
#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using sigplus::Ink;

// A container's sites, on the stack of a test: references are not counted.
class Site final : public IOleClientSite, public IOleInPlaceSite {
public:
    HWND window = nullptr;
    int deactivated = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleClientSite) *object = static_cast<IOleClientSite*>(this);
        if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) *object = static_cast<IOleInPlaceSite*>(this);
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE SaveObject() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* found) override {
        *found = window;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnUIActivate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame**, IOleInPlaceUIWindow**, LPRECT, LPRECT,
                                               LPOLEINPLACEFRAMEINFO) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
        ++deactivated;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT) override { return S_OK; }
};

// Counts the control's events.
class Sink final : public IDispatch {
public:
    int penDowns = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        *object = riid == IID_IUnknown || riid == IID_IDispatch ? this : nullptr;
        return *object != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        if (id == sigplus::dispid::PenDown) ++penDowns;
        return S_OK;
    }
};

// The control answers for the interface, or the test fails there.
template <typename Interface>
Interface* query(IUnknown* object, REFIID iid) {
    void* found = nullptr;
    if (FAILED(object->QueryInterface(iid, &found)) || found == nullptr) throw std::runtime_error("no such interface");
    return static_cast<Interface*>(found);
}

// The window is twice the pad's screen: a mouse position is two screen pixels' worth.
constexpr RECT kPosition{10, 20, 10 + 2 * sigplus::kPadScreenWidth, 20 + 2 * sigplus::kPadScreenHeight};

class ActiveControl : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(parent, nullptr);
        site.window = parent;
        HMODULE library = LoadLibraryW(L"sigplus.dll");
        ASSERT_NE(library, nullptr);
        using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
        const auto get =
            reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(library, "DllGetClassObject")));
        ASSERT_NE(get, nullptr);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(get(sigplus::CLSID_SigPlus, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
        ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(&control)), S_OK);
        factory->Release();

        IConnectionPointContainer* points = query<IConnectionPointContainer>(control, IID_IConnectionPointContainer);
        ASSERT_EQ(points->FindConnectionPoint(sigplus::DIID_SigPlusEvents, &point), S_OK);
        points->Release();
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
        put(sigplus::dispid::InkEnabled, 1);
    }

    void TearDown() override {
        if (point != nullptr) {
            point->Unadvise(cookie);
            point->Release();
        }
        if (control != nullptr) {
            EXPECT_EQ(control->Release(), 0u);
        }
        DestroyWindow(parent);
        OleUninitialize();
    }

    HWND activate() {
        IOleObject* ole = query<IOleObject>(control, IID_IOleObject);
        EXPECT_EQ(ole->SetClientSite(&site), S_OK);
        EXPECT_EQ(ole->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site, 0, parent, &kPosition), S_OK);
        ole->Release();
        IOleInPlaceObject* inPlace = query<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
        HWND window = nullptr;
        EXPECT_EQ(inPlace->GetWindow(&window), S_OK);
        inPlace->Release();
        return window;
    }

    void call(DISPID id, WORD flags, VARIANT* arguments, UINT count, VARIANT* result = nullptr) {
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{arguments, flags == DISPATCH_PROPERTYPUT ? &named : nullptr, count,
                          flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
        ASSERT_EQ(control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr), S_OK)
            << id;
    }
    void put(DISPID id, SHORT value) {
        VARIANT argument{};
        argument.vt = VT_I2;
        argument.iVal = value;
        call(id, DISPATCH_PROPERTYPUT, &argument, 1);
    }

    // A method with I2 arguments (the last one I4 if asked), in call order.
    VARIANT method(DISPID id, std::initializer_list<LONG> numbers, bool longLast = false) {
        std::vector<VARIANT> arguments(numbers.size());
        auto argument = arguments.rbegin();  // DISPPARAMS holds them last first
        for (const LONG number : numbers) {
            const bool last = longLast && argument + 1 == arguments.rend();
            argument->vt = last ? VT_I4 : VT_I2;
            if (last) {
                argument->lVal = number;
            } else {
                argument->iVal = static_cast<SHORT>(number);
            }
            ++argument;
        }
        VARIANT result{};
        call(id, DISPATCH_METHOD, arguments.data(), static_cast<UINT>(arguments.size()), &result);
        return result;
    }

    Ink ink() {
        Ink now;
        sigplus::ISigPlusControl* own = query<sigplus::ISigPlusControl>(control, sigplus::IID_ISigPlusControl);
        EXPECT_EQ(own->GetInk(&now), S_OK);
        own->Release();
        return now;
    }

    // The colour at a point of the window's painting.
    COLORREF paintedAt(HWND window, int x, int y) {
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap =
            CreateCompatibleBitmap(screen, kPosition.right - kPosition.left, kPosition.bottom - kPosition.top);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
        const COLORREF colour = GetPixel(memory, x, y);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return colour;
    }

    HWND parent = nullptr;
    IDispatch* control = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    Site site;
    Sink sink;
};

LRESULT sendPenRecord(HWND window, const std::string& record, ULONG_PTR tag = sigplus::kPenRecordCopyData) {
    COPYDATASTRUCT data{tag, static_cast<DWORD>(record.size()), const_cast<char*>(record.data())};
    return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

void mouse(HWND window, UINT message, int x, int y) {
    SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

TEST_F(ActiveControl, TakesPenRecordsAndTheMouseAndShowsTheInk) {
    HWND window = activate();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), parent);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, kPosition.right - kPosition.left);
    EXPECT_EQ(client.bottom, kPosition.bottom - kPosition.top);

    // Pen records: only well-formed ones under the pad's tag are taken.
    EXPECT_EQ(sendPenRecord(window, "pen 0:20,40 8:25,42"), TRUE);
    EXPECT_EQ(sendPenRecord(window, "pen 0:20,40 8:25,42", 1), FALSE);
    EXPECT_EQ(sendPenRecord(window, "pen 0:20,40 8:"), FALSE);
    EXPECT_EQ(sink.penDowns, 1);

    // The mouse: PenDown as the button goes down, the stroke when it comes
    // up; a repeated position is one point, and a captured mouse outside
    // the window writes at the ink area's edge.
    mouse(window, WM_LBUTTONDOWN, 100, 50);
    EXPECT_EQ(sink.penDowns, 2);
    mouse(window, WM_MOUSEMOVE, 101, 51);
    mouse(window, WM_MOUSEMOVE, 140, 60);
    mouse(window, WM_LBUTTONUP, -30, 500);
    EXPECT_EQ(ink(), (Ink{{{20, 40}, {25, 42}}, {{50, 25}, {70, 30}, {0, 63}}}));

    const COLORREF background = RGB(0xEC, 0xE9, 0xD8);  // the default state's
    EXPECT_EQ(paintedAt(window, 300, 10), background);
    EXPECT_EQ(paintedAt(window, 41, 81), RGB(0, 0, 0));  // ink point 20,40
    call(sigplus::dispid::ClearInk, DISPATCH_METHOD, nullptr, 0);
    EXPECT_EQ(paintedAt(window, 41, 81), background);

    IOleInPlaceObject* inPlace = query<IOleInPlaceObject>(control, IID_IOleInPlaceObject);
    const RECT moved{0, 0, 240, 64};
    EXPECT_EQ(inPlace->SetObjectRects(&moved, &moved), S_OK);
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 240);
    EXPECT_EQ(inPlace->InPlaceDeactivate(), S_OK);
    inPlace->Release();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(site.deactivated, 1);
}

// A signature written with the mouse, bound to "key": the checks script
// renders the string (written to $ZERA_SIGNATURE_OUT) on Linux and here and
// compares the images.
TEST_F(ActiveControl, MouseSignatureForTheOtherSystem) {
    HWND window = activate();
    ASSERT_NE(window, nullptr);
    put(sigplus::dispid::CipherMode, 2);  // as the plug-in renders
    call(sigplus::dispid::BindBegin, DISPATCH_METHOD, nullptr, 0);
    BSTR key = SysAllocString(L"key");
    VARIANT text{};
    text.vt = VT_BSTR | VT_BYREF;
    text.pbstrVal = &key;
    call(sigplus::dispid::BindAddText, DISPATCH_METHOD, &text, 1);
    SysFreeString(key);
    call(sigplus::dispid::BindEnd, DISPATCH_METHOD, nullptr, 0);
    for (int stroke = 0; stroke < 3; ++stroke) {
        mouse(window, WM_LBUTTONDOWN, 40 + 120 * stroke, 100);
        for (int step = 1; step <= 12; ++step) {
            mouse(window, WM_MOUSEMOVE, 40 + 120 * stroke + 8 * step, 100 - 7 * step);
        }
        mouse(window, WM_LBUTTONUP, 150 + 120 * stroke, 110);
    }
    VARIANT signature{};
    call(sigplus::dispid::SignatureText, DISPATCH_PROPERTYGET, nullptr, 0, &signature);
    ASSERT_EQ(signature.vt, VT_BSTR);
    const std::wstring text16(signature.bstrVal, SysStringLen(signature.bstrVal));
    VariantClear(&signature);
    EXPECT_EQ(ink().size(), 3u);
    ASSERT_FALSE(text16.empty());
    if (const char* out = std::getenv("ZERA_SIGNATURE_OUT")) {
        std::FILE* file = std::fopen(out, "wb");
        ASSERT_NE(file, nullptr);
        for (const wchar_t unit : text16) std::fputc(static_cast<char>(unit), file);
        EXPECT_EQ(std::fclose(file), 0);
    }
}

// Bitmaps reach the pad's screen through GDI, and the screen's pictures go
// to the folder the host names in the process's environment.
TEST_F(ActiveControl, BitmapsOnThePadScreenAndItsPictures) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, folder), 0u);
    std::wstring screens = std::wstring(folder) + L"sigplus-screens-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(screens.c_str(), nullptr));
    ASSERT_TRUE(SetEnvironmentVariableW(L"SIGPLUS_SCREENS", screens.c_str()));

    // Monochrome 240 x 64: one half black (0 bits), the other white.
    auto halves = [](bool darkLeft) {
        std::vector<BYTE> bits(30 * 64, 0xFF);
        for (std::size_t row = 0; row < 64; ++row)
            for (std::size_t byte = darkLeft ? 0 : 15; byte < (darkLeft ? 15u : 30u); ++byte) bits[row * 30 + byte] = 0;
        return CreateBitmap(240, 64, 1, 1, bits.data());
    };
    HBITMAP left = halves(true);
    HBITMAP right = halves(false);
    const auto show = [&](HBITMAP bitmap) {
        const auto handle = static_cast<LONG>(reinterpret_cast<INT_PTR>(bitmap));
        const VARIANT shown = method(sigplus::dispid::DisplayBitmap, {0, 2, 0, 0, 240, 64, handle}, true);
        method(sigplus::dispid::PadRefresh, {0});
        return shown.vt == VT_BOOL && shown.boolVal == VARIANT_TRUE;
    };
    EXPECT_FALSE(show(reinterpret_cast<HBITMAP>(static_cast<INT_PTR>(0x1234))));
    EXPECT_TRUE(show(left));
    EXPECT_TRUE(show(right));
    DeleteObject(left);
    DeleteObject(right);
    SetEnvironmentVariableW(L"SIGPLUS_SCREENS", nullptr);

    // Two screens, two pictures: GDI's pixels told the halves apart.
    const auto read = [&](const wchar_t* name) {
        std::string bytes;
        if (std::FILE* file = _wfopen((screens + L"\\" + name).c_str(), L"rb")) {
            for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) bytes += static_cast<char>(c);
            std::fclose(file);
        }
        return bytes;
    };
    const std::string first = read(L"screen-001.png");
    const std::string second = read(L"screen-002.png");
    EXPECT_EQ(first.substr(0, 4), "\x89PNG");
    EXPECT_EQ(second.substr(0, 4), "\x89PNG");
    EXPECT_NE(first, second);
    EXPECT_TRUE(read(L"screen-003.png").empty());
    for (const wchar_t* name : {L"screen-001.png", L"screen-002.png"}) DeleteFileW((screens + L"\\" + name).c_str());
    RemoveDirectoryW(screens.c_str());
}

}  // namespace
