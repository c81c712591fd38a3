// Modal dialogs from the module's layouts with a hosted control that
// records what the framework does with it and fires its one event.
#include "FakeComParts.h"

#include <afxwin.h>
#include <ocidl.h>
#include <olectl.h>
#include <platform/com_object.h>
#include <winplatform/diagnostics.h>
#include <winplatform/headless_input.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace {

using winplatform::InputEvent;

const CLSID kPadClass = {0x69A40DA3, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};
const IID kPadEvents = {0x69A40DA2, 0x4D42, 0x11D0, {0x86, 0xB0, 0x00, 0x00, 0xC0, 0x25, 0x86, 0x4A}};

struct Record {
    std::vector<std::string> calls;
    std::vector<BYTE> loadedState;
    int alive = 0;
    int sinksConnected = 0;
};
Record record;

// The hosted control: persistence, its event interface, one connection
// point, and input from the input source ("pen" fires event 2).
class FakePad final : public platform::ComObject<IPersistStreamInit, IProvideClassInfo2, IConnectionPointContainer,
                                                     IConnectionPoint, winplatform::IHeadlessInput> {
public:
    FakePad() { ++record.alive; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        IPersistStreamInit* persist = this;
        IProvideClassInfo2* info = this;
        return platform::answerQuery(
            persist, riid, object,
            {{IID_IPersist, persist},
             {IID_IPersistStreamInit, persist},
             {IID_IProvideClassInfo, info},
             {IID_IProvideClassInfo2, info},
             {IID_IConnectionPointContainer, static_cast<IConnectionPointContainer*>(this)},
             {winplatform::IID_IHeadlessInput, static_cast<winplatform::IHeadlessInput*>(this)}});
    }

    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
        *clsid = kPadClass;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override {
        record.calls.push_back("load");
        const std::vector<BYTE> bytes = testsupport::readWholeStream(stream);
        record.loadedState.insert(record.loadedState.end(), bytes.begin(), bytes.end());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InitNew() override {
        record.calls.push_back("init new");
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override {
        return testsupport::sourceInterfaceOf(kind, kPadEvents, guid);
    }

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        return testsupport::onlyConnectionPoint(iid, kPadEvents, static_cast<IConnectionPoint*>(this), point);
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = kPadEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override {
        *container = this;
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override { return sink_.advise(sink, cookie); }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override { return sink_.unadvise(cookie); }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE DeliverInput(const char* payload, ULONG length) override {
        const std::string text(payload, length);
        record.calls.push_back("input " + text);
        if (text == "pen") sink_.fire(2);
        return S_OK;
    }

private:
    ~FakePad() override { --record.alive; }
    testsupport::OneSinkConnection sink_{kPadEvents, 7, record.sinksConnected};
};

class ScriptedInput : public winplatform::InputSource {
public:
    explicit ScriptedInput(std::deque<InputEvent> events) : events_(std::move(events)) {}
    std::optional<InputEvent> next() override {
        if (events_.empty()) return std::nullopt;
        InputEvent event = events_.front();
        events_.pop_front();
        return event;
    }
    std::size_t left() const { return events_.size(); }

private:
    std::deque<InputEvent> events_;
};

InputEvent click(UINT id) { return {InputEvent::Kind::Click, id, 0, {}, 0}; }
InputEvent key(UINT code) { return {InputEvent::Kind::Key, 0, code, {}, 0}; }
InputEvent pen() { return {InputEvent::Kind::ControlInput, 11000, 0, "pen", 0}; }
InputEvent closeBox() { return {InputEvent::Kind::Close, 0, 0, {}, 0}; }

// A dialog on the capture layout whose handlers say what they saw.
class PadDialog : public CDialog {
public:
    PadDialog() : CDialog(11002, nullptr) {}

    std::vector<std::string> seen;
    bool okOnPen = false;
    bool throwOnClear = false;
    CWnd pad;

protected:
    void DoDataExchange(CDataExchange* exchange) override {
        seen.push_back(exchange->m_bSaveAndValidate ? "exchange back" : "exchange out");
        DDX_Control(exchange, 11000, pad);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        seen.push_back(pad.GetControlUnknown() != nullptr ? "init with control" : "init without control");
        return TRUE;
    }
    void OnOK() override {
        seen.push_back("ok");
        CDialog::OnOK();
    }
    void OnCancel() override {
        seen.push_back("cancel");
        CDialog::OnCancel();
    }
    void OnClear() {
        seen.push_back("clear");
        if (throwOnClear) AfxThrowOleDispatchException(DISP_E_EXCEPTION, u"the pad did not answer");
        seen.push_back("clear done");
    }
    void OnPenDown() {
        seen.push_back("pen down");
        if (okOnPen) OnOK();
        seen.push_back("pen down done");
    }

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()
};

BEGIN_MESSAGE_MAP(PadDialog, CDialog)
ON_BN_CLICKED(11006, OnClear)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(PadDialog, CDialog)
ON_EVENT(PadDialog, 11000, 2, OnPenDown, VTS_NONE)
END_EVENTSINK_MAP()

class ModalDialog : public ::testing::Test {
protected:
    void SetUp() override {
        module = dlopen(ZERA_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module, nullptr);
        AfxSetResourceHandle(static_cast<HINSTANCE>(module));
        AfxEnableControlContainer();
        record = Record{};
        winplatform::clearMessageBoxes();
        padClass = std::make_unique<testsupport::ScopedClassObject>(
            kPadClass, []() -> IUnknown* { return static_cast<IPersistStreamInit*>(new FakePad()); });
    }
    void TearDown() override {
        winplatform::setInputSource(nullptr);
        padClass.reset();
        EXPECT_EQ(winplatform::comInitCount(), 0u);
        EXPECT_EQ(record.alive, 0) << "the control is released with the window";
        EXPECT_EQ(record.sinksConnected, 0);
        AfxSetResourceHandle(AfxGetInstanceHandle());
        dlclose(module);
    }
    INT_PTR run(PadDialog& dialog, std::deque<InputEvent> events) {
        input = std::make_shared<ScriptedInput>(std::move(events));
        winplatform::setInputSource(input);
        return dialog.DoModal();
    }

    void* module = nullptr;
    std::unique_ptr<testsupport::ScopedClassObject> padClass;
    std::shared_ptr<ScriptedInput> input;
};

TEST_F(ModalDialog, TheControlGetsItsSavedStateAndTheDialogItsControl) {
    PadDialog dialog;
    EXPECT_EQ(run(dialog, {click(IDOK)}), IDOK);
    EXPECT_EQ(record.loadedState.size(), 129u);
    EXPECT_EQ(record.loadedState[4], 0x18);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"exchange out", "init with control", "ok", "exchange back"}));
    EXPECT_EQ(dialog.pad.GetControlUnknown(), nullptr) << "the binding ends with the window";
}

TEST_F(ModalDialog, ButtonsKeysAndTheCloseBox) {
    const struct {
        InputEvent event;
        INT_PTR result;
        const char* last;
    } cases[] = {{click(IDCANCEL), IDCANCEL, "cancel"},
                 {key(VK_ESCAPE), IDCANCEL, "cancel"},
                 {key(VK_RETURN), IDOK, "exchange back"},
                 {closeBox(), IDCANCEL, "cancel"}};
    for (const auto& c : cases) {
        PadDialog dialog;
        EXPECT_EQ(run(dialog, {c.event, click(IDOK)}), c.result);
        EXPECT_EQ(dialog.seen.back(), c.last);
        EXPECT_EQ(input->left(), 1u) << "the dialog ended at its event";
    }
}

TEST_F(ModalDialog, MessageMapAndEventSinkReachTheirHandlers) {
    PadDialog dialog;
    dialog.okOnPen = true;
    EXPECT_EQ(run(dialog, {click(11006), click(4242), pen(), click(IDCANCEL)}), IDOK);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"exchange out", "init with control", "clear", "clear done",
                                                      "pen down", "ok", "exchange back", "pen down done"}));
    EXPECT_EQ(input->left(), 1u);
    EXPECT_EQ(record.calls.back(), "input pen");
}

TEST_F(ModalDialog, AnExceptionInAHandlerShowsAnErrorBoxAndTheDialogStaysOpen) {
    PadDialog dialog;
    dialog.throwOnClear = true;
    EXPECT_EQ(run(dialog, {click(11006), click(IDOK)}), IDOK);
    EXPECT_EQ(winplatform::messageBoxes(), (std::vector<std::u16string>{u"the pad did not answer"}));
    EXPECT_EQ(std::count(dialog.seen.begin(), dialog.seen.end(), "clear done"), 0) << "the rest was skipped";
    EXPECT_EQ(dialog.seen.back(), "exchange back");
}

TEST_F(ModalDialog, RunningOutOfInputClosesTheDialog) {
    PadDialog dialog;
    EXPECT_EQ(run(dialog, {}), IDCANCEL);
    EXPECT_EQ(dialog.seen.back(), "cancel");
    PadDialog noSource;
    winplatform::setInputSource(nullptr);
    EXPECT_EQ(noSource.DoModal(), IDCANCEL);
}

TEST_F(ModalDialog, WindowsThatCannotBeMadeAnswerMinusOne) {
    padClass->revoke();
    PadDialog withoutControl;
    EXPECT_EQ(run(withoutControl, {click(IDOK)}), -1);
    EXPECT_TRUE(withoutControl.seen.empty()) << "no handler runs";

    class Missing : public CDialog {
    public:
        Missing() : CDialog(11010, nullptr) {}
    } missing;
    EXPECT_EQ(missing.DoModal(), -1);
}

}  // namespace
