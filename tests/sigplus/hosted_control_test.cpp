// The control as a dialog hosts it: its saved state through a stream, its
// PenDown event through a connection point, pen input from the input
// source, the touch keys and the ink area.
#include "sigplus_fixture.h"

#include <sigplus/pad_script.h>

#include <objidl.h>
#include <ocidl.h>
#include <olectl.h>
#include <shlwapi.h>
#include <winplatform/headless_input.h>

#include <atomic>
#include <functional>

namespace sigplus_test {
namespace {

namespace d = sigplus::dispid;

// The 129 bytes a capture dialog hands the control.
const std::vector<BYTE> kDialogState = [] {
    std::vector<BYTE> bytes = {0x00, 0x00, 0x00, 0x00, 0x18, 0x00, 0x02, 0x00, 0x35, 0x25, 0x00, 0x00, 0xc0, 0x0a,
                               0x00, 0x00, 0x09, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xec, 0xe9, 0xd8, 0x00};
    bytes.resize(129, 0x00);
    bytes[34] = 0x01;
    bytes[36] = 0xd0;
    bytes[37] = 0x07;
    bytes[128 - 2] = 0x01;
    return bytes;
}();

template <typename Interface>
Interface* query(IUnknown* object, const IID& iid) {
    void* found = nullptr;
    EXPECT_EQ(object->QueryInterface(iid, &found), S_OK);
    return static_cast<Interface*>(found);
}

// A container's sink: counts the events, and runs what the test asks for
// inside each one, as a dialog's handler does.
class Sink final : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        events.push_back(id);
        EXPECT_EQ(flags, DISPATCH_METHOD);
        EXPECT_EQ(params != nullptr ? params->cArgs : 99u, 0u);
        if (onEvent) onEvent();
        return S_OK;
    }

    std::atomic<ULONG> references{1};  // the test's own
    std::vector<DISPID> events;
    std::function<void()> onEvent;
};

class Hosted : public ControlTest {
protected:
    // A pen record, as the input source hands it over.
    HRESULT pen(Control& control, const std::string& record) {
        auto* input = query<winplatform::IHeadlessInput>(control.dispatch, winplatform::IID_IHeadlessInput);
        if (input == nullptr) return E_NOINTERFACE;
        const HRESULT status = input->DeliverInput(record.data(), static_cast<ULONG>(record.size()));
        input->Release();
        return status;
    }
    // The capture dialog's pad set-up, in short.
    void setUp(Control& control) {
        const std::pair<DISPID, SHORT> window[] = {{d::PadXFrom, 400}, {d::PadXTo, 2400}, {d::PadYFrom, 350},
                                                   {d::PadYTo, 1050},  {d::InkSpanX, 2000}, {d::InkSpanY, 700}};
        for (const auto& [id, value] : window) ASSERT_EQ(control.putI2(id, value), S_OK);
        VARIANT ignored;
        ASSERT_EQ(control.call(d::InkAreaSet, {i2(0), i2(22), i2(240), i2(40)}, &ignored), S_OK);
        ASSERT_EQ(control.call(d::HotSpotDefine, {i2(0), i2(1), i2(177), i2(7), i2(48), i2(15)}), S_OK);
        ASSERT_EQ(control.call(d::HotSpotDefine, {i2(1), i2(1), i2(15), i2(7), i2(48), i2(15)}), S_OK);
        ASSERT_EQ(control.putI2(d::InkEnabled, 1), S_OK);
    }
    SHORT touched(Control& control, SHORT key) { return control.callI2(d::HotSpotTouched, {i2(key)}); }
};

TEST_F(Hosted, LoadsTheDialogsStateFromAStreamAndSavesItBack) {
    Control control;
    ASSERT_EQ(control.created, S_OK);
    auto* persist = query<IPersistStreamInit>(control.dispatch, IID_IPersistStreamInit);
    ASSERT_NE(persist, nullptr);
    CLSID clsid{};
    EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
    EXPECT_EQ(clsid, sigplus::CLSID_SigPlus);

    IStream* in = SHCreateMemStream(kDialogState.data(), static_cast<UINT>(kDialogState.size()));
    ASSERT_EQ(persist->Load(in), S_OK);
    in->Release();
    sigplus::SavedState state;
    const auto own = sigplus::controlOf(control.dispatch);
    ASSERT_EQ(own->GetState(&state), S_OK);
    EXPECT_EQ(state.extentX, 9525);
    EXPECT_EQ(state.extentY, 2752);
    EXPECT_EQ(state.stockProperties, 9u);
    EXPECT_EQ(state.backColour, 0x00D8E9ECu);
    EXPECT_EQ(state.properties.size(), 101u);

    ULARGE_INTEGER size{};
    EXPECT_EQ(persist->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 129u);
    IStream* out = SHCreateMemStream(nullptr, 0);
    ASSERT_EQ(persist->Save(out, TRUE), S_OK);
    LARGE_INTEGER start{};
    ASSERT_EQ(out->Seek(start, STREAM_SEEK_SET, nullptr), S_OK);
    std::vector<BYTE> saved(200);
    ULONG read = 0;
    EXPECT_TRUE(SUCCEEDED(out->Read(saved.data(), static_cast<ULONG>(saved.size()), &read)));
    saved.resize(read);
    EXPECT_EQ(saved, kDialogState);
    out->Release();

    // Too short for a state: refused, the state stays.
    const BYTE shortState[10] = {};
    IStream* bad = SHCreateMemStream(shortState, sizeof shortState);
    EXPECT_EQ(persist->Load(bad), E_INVALIDARG);
    bad->Release();
    EXPECT_EQ(persist->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, 129u);
    persist->Release();
}

TEST_F(Hosted, NamesItsEventsAndFiresPenDownIntoEveryAdvisedSink) {
    Control control;
    ASSERT_EQ(control.created, S_OK);
    auto* info = query<IProvideClassInfo2>(control.dispatch, IID_IProvideClassInfo2);
    ASSERT_NE(info, nullptr);
    IID events{};
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    EXPECT_EQ(events, sigplus::DIID_SigPlusEvents);
    info->Release();

    auto* container = query<IConnectionPointContainer>(control.dispatch, IID_IConnectionPointContainer);
    ASSERT_NE(container, nullptr);
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(container->FindConnectionPoint(events, &point), S_OK);
    container->Release();

    Sink first;
    Sink second;
    DWORD firstCookie = 0;
    DWORD secondCookie = 0;
    ASSERT_EQ(point->Advise(&first, &firstCookie), S_OK);
    ASSERT_EQ(point->Advise(&second, &secondCookie), S_OK);
    EXPECT_NE(firstCookie, secondCookie);
    EXPECT_GT(first.references.load(), 1u) << "an advised sink is held";

    EXPECT_EQ(pen(control, "pen 0:100,30 8:110,35"), S_OK);
    EXPECT_EQ(first.events, std::vector<DISPID>{d::PenDown});
    EXPECT_EQ(second.events, std::vector<DISPID>{d::PenDown});
    EXPECT_EQ(sigplus::journalLines(), std::vector<std::string>{"event PenDown"});

    // A sink that lets the other go inside the event: the other is not
    // called any more, not even for this event.
    first.onEvent = [&] { EXPECT_EQ(point->Unadvise(secondCookie), S_OK); };
    EXPECT_EQ(pen(control, "pen 20:100,30"), S_OK);
    EXPECT_EQ(first.events.size(), 2u);
    EXPECT_EQ(second.events.size(), 1u);
    EXPECT_EQ(second.references.load(), 1u) << "an unadvised sink is released";
    EXPECT_EQ(point->Unadvise(secondCookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(point->Unadvise(firstCookie), S_OK);
    EXPECT_EQ(first.references.load(), 1u);
    point->Release();
}

TEST_F(Hosted, RefusesPenRecordsThatAreNotWellFormed) {
    Control control;
    for (const char* record : {"", "pen", "pen 0:240,10", "pen 5:1,1 4:2,2", "pen 0:1,1 ", "ink 0:1,1"}) {
        SCOPED_TRACE(record);
        EXPECT_EQ(pen(control, record), E_INVALIDARG);
    }
    EXPECT_TRUE(sigplus::journalLines().empty()) << "no event for refused input";
}

TEST_F(Hosted, TouchKeysAnswerInTheirAreaUntilReset) {
    Control control;
    setUp(control);
    EXPECT_EQ(touched(control, 0), 0);
    // The key's area starts 5 rows below the image drawn for it.
    ASSERT_EQ(pen(control, "pen 0:201,4"), S_OK);
    EXPECT_EQ(touched(control, 0), 0);
    ASSERT_EQ(pen(control, "pen 10:177,7"), S_OK);
    EXPECT_EQ(touched(control, 0), 1);
    EXPECT_EQ(touched(control, 1), 0);
    ASSERT_EQ(control.call(d::HotSpotReset, {i2(1)}), S_OK);
    EXPECT_EQ(touched(control, 0), 0);
    // Only where the pen goes down counts.
    ASSERT_EQ(pen(control, "pen 20:100,30 28:39,14"), S_OK);
    EXPECT_EQ(touched(control, 1), 0);
    ASSERT_EQ(pen(control, "pen 40:62,21"), S_OK);
    EXPECT_EQ(touched(control, 1), 1);
    // The handler asks while the event runs, before the ink is taken.
    EXPECT_EQ(control.callI2(d::InkPointCount), 1);

    EXCEPINFO exception{};
    VARIANT result;
    EXPECT_EQ(control.call(d::HotSpotTouched, {i2(16)}, &result, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, DISP_E_BADINDEX);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    EXPECT_EQ(control.call(d::HotSpotDefine, {i2(-1), i2(1), i2(0), i2(0), i2(1), i2(1)}, nullptr, nullptr),
              DISP_E_EXCEPTION);
}

TEST_F(Hosted, InkIsKeptOnlyInsideTheInkAreaInInkUnits) {
    Control control;
    setUp(control);
    // Pixel x 119 is the middle of the 2000-unit span; row 22, the ink
    // area's first, is 246 of the 700 units of 64 rows.
    ASSERT_EQ(pen(control, "pen 0:119,22 8:0,63"), S_OK);
    EXPECT_EQ(control.ink(), (sigplus::Ink{{{996, 246}}}));
    ASSERT_EQ(control.call(d::ClearInk), S_OK);

    // Out of the area and back in: two strokes; the keys' rows keep none.
    ASSERT_EQ(pen(control, "pen 0:10,30 8:10,20 16:10,10 24:20,40 32:30,40"), S_OK);
    const sigplus::Ink ink = control.ink();
    ASSERT_EQ(ink.size(), 2u);
    EXPECT_EQ(ink[0].size(), 1u);
    EXPECT_EQ(ink[1].size(), 2u);
    EXPECT_EQ(control.callI2(d::InkPointCount), 3);
    ASSERT_EQ(pen(control, "pen 40:120,5 48:130,10"), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 3);

    // With recording off nothing is kept.
    ASSERT_EQ(control.putI2(d::InkEnabled, 0), S_OK);
    ASSERT_EQ(pen(control, "pen 60:50,50 68:60,50"), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 3);
}

TEST_F(Hosted, ABitmapHandleThatIsNoBitmapDrawsNothingAndSaysSo) {
    Control control;
    for (const LONG handle : {0, 12345, -1}) {
        VARIANT result;
        ASSERT_EQ(control.call(d::DisplayBitmap, {i2(0), i2(2), i2(0), i2(0), i2(240), i2(64), i4(handle)}, &result),
                  S_OK);
        EXPECT_EQ(result.vt, VT_BOOL);
        EXPECT_EQ(result.boolVal, VARIANT_FALSE) << handle;
    }
}

TEST_F(Hosted, APadRecordsNoMoreInkThanTheControlCounts) {
    Control control;
    setUp(control);
    const auto longStroke = [](std::uint32_t start) {
        sigplus::PenInput input;
        for (std::uint32_t i = 0; i < 20000; ++i) {
            input.points.push_back({static_cast<std::int16_t>(i % 240), static_cast<std::int16_t>(22 + i % 40), start + i});
        }
        return sigplus::formatPenInput(input);
    };
    ASSERT_EQ(pen(control, longStroke(0)), S_OK);
    ASSERT_EQ(pen(control, longStroke(20000)), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 32767);
    EXPECT_EQ(sigplus::pointCount(control.ink()), 32767u);
    ASSERT_EQ(pen(control, longStroke(40000)), S_OK);
    EXPECT_EQ(control.ink().size(), 2u) << "a full pad takes no further stroke";
}

TEST_F(Hosted, PenInputInsideTheEventSeesTheStateTheHandlerLeft) {
    Control control;
    setUp(control);
    auto* container = query<IConnectionPointContainer>(control.dispatch, IID_IConnectionPointContainer);
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(container->FindConnectionPoint(sigplus::DIID_SigPlusEvents, &point), S_OK);
    container->Release();
    Sink sink;
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    // A handler that turns recording off (as accepting a signature ends
    // it): the stroke that raised the event leaves no ink.
    sink.onEvent = [&] { EXPECT_EQ(control.putI2(d::InkEnabled, 0), S_OK); };
    ASSERT_EQ(pen(control, "pen 0:50,40 8:60,40"), S_OK);
    EXPECT_EQ(control.callI2(d::InkPointCount), 0);
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    point->Release();
}

}  // namespace
}  // namespace sigplus_test
