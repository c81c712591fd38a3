#include "DlgCapture.h"

#include "DispatchCalls.h"
#include "functions/ResultTexts.h"
#include "functions/Settings.h"
#include "log/DiagLog.h"
#include "resource.h"

#include <platform/com_values.h>

using zera::WriteDiagLog;

// The log texts below are kept byte for byte, the blank after "Entering:"
// and "Exiting:" in OnCancel included (see docs/compatibility.md).

DlgCapture::DlgCapture(const std::u16string& boundText, std::int32_t compression, std::int32_t encryption,
                       const std::optional<std::u16string>&)
    : CDialog(IDD_CAPTURE, nullptr) {
    WriteDiagLog(u"Creating the new DlgCapture object\n");
    boundData = {boundText};
    compressionMode = compression;
    encryptionMode = encryption;
    WriteDiagLog(u"Non LCD build\n");
    // Places on the pad's screen and bitmaps (see docs/compatibility.md).
    resetImage = std::make_unique<TabletBMP>(15, 2, 48, 15, IDB_RESET_KEY);
    promptImage = std::make_unique<TabletBMP>(4, 20, 234, 20, IDB_PROMPT);
    okImage = std::make_unique<TabletBMP>(177, 2, 48, 15, IDB_OK_KEY);
    backgroundImage = std::make_unique<TabletBMP>(0, 0, 240, 64, IDB_BACKGROUND);
    okPressedImage = std::make_unique<TabletBMP>(177, 2, 48, 15, IDB_OK_KEY_PRESSED);
    resetPressedImage = std::make_unique<TabletBMP>(15, 2, 48, 15, IDB_RESET_KEY_PRESSED);
    WriteDiagLog(u"Finished creating the new DlgCapture object\n");
}

// The images go first, each with its bitmap.
DlgCapture::~DlgCapture() {
    resetImage.reset();
    promptImage.reset();
    okImage.reset();
    backgroundImage.reset();
    okPressedImage.reset();
    resetPressedImage.reset();
}

BEGIN_MESSAGE_MAP(DlgCapture, CDialog)
ON_BN_CLICKED(IDC_CLEAR, OnClear)
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(DlgCapture, CDialog)
ON_EVENT(DlgCapture, IDC_SIGPLUS, 2, OnPenDownSigplusctrl, VTS_NONE)
END_EVENTSINK_MAP()

void DlgCapture::DoDataExchange(CDataExchange* exchange) {
    WriteDiagLog(u"Entering:\tDoDataExchange()\n");
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_SIGPLUS, sigPlus);
    WriteDiagLog(u"Exiting:\tDoDataExchange()\n");
}

// The constant arguments of the pad's calls, here and below, are the
// control's (see docs/compatibility.md).
void DlgCapture::clearWholeScreen() { sigPlus.DisplayClearArea(0, 0, 0, lcdSize[0], lcdSize[1]); }

void DlgCapture::drawSigningScreen() {
    backgroundImage->draw(sigPlus);
    okImage->draw(sigPlus);
    resetImage->draw(sigPlus);
}

// Also the pad's full reset: Clear and the RESET key run it again.
BOOL DlgCapture::OnInitDialog() {
    WriteDiagLog(u"Entering:\tOnInitDialog()\n");
    CDialog::OnInitDialog();
    if (!connected) GetConnected();

    sigPlus.DisplaySetup(0, lcdSize[0], lcdSize[1], displaySetupArgs[0], displaySetupArgs[1], displaySetupArgs[2],
                         displaySetupArgs[3]);
    sigPlus.SetPadXFrom(padWindow.xFrom);
    sigPlus.SetPadXTo(padWindow.xTo);
    sigPlus.SetPadYFrom(padWindow.yFrom);
    sigPlus.SetPadYTo(padWindow.yTo);
    sigPlus.SetInkSpanX(padWindow.spanX);
    sigPlus.SetInkSpanY(padWindow.spanY);
    sigPlus.InkAreaSet(inkArea.x, inkArea.y, inkArea.width, inkArea.height);
    sigPlus.DisplayInkArea(1, inkArea.x, inkArea.y, inkArea.width, inkArea.height);
    clearWholeScreen();
    sigPlus.ClearInk();
    drawSigningScreen();
    okImage->defineKey(kHotSpotOk, sigPlus);
    resetImage->defineKey(kHotSpotReset, sigPlus);
    sigPlus.SetDisplayMode(2);
    sigPlus.ClearInk();
    sigPlus.SetInkEnabled(1);
    sigPlus.PadRefresh(1);
    WriteDiagLog(u"Exiting:\tOnInitDialog()\n");
    return TRUE;
}

// The pad's type and port are read now, so a change between captures
// reaches the next dialog.
BOOL DlgCapture::GetConnected() {
    WriteDiagLog(u"Entering:\tGetConnected()\n");
    sigPlus.SetPadKind(zera::tabletMode);
    sigPlus.SetPadPort(zera::tabletComPort);
    WriteDiagLog(u"Exiting:\tGetConnected()\n");
    connected = true;
    return TRUE;
}

void DlgCapture::OnPenDownSigplusctrl() {
    WriteDiagLog(u"Entering:\tOnPenDownSigplusctrl()\n");
    if (sigPlus.HotSpotTouched(kHotSpotOk) > 0) {
        if (sigPlus.InkPointCount() > 0) {
            okPressedImage->draw(sigPlus);
            backgroundImage->draw(sigPlus);
            okImage->draw(sigPlus);
            OnOK();
        } else {
            clearWholeScreen();
            promptImage->draw(sigPlus);
            Sleep(kPromptDelayMs);
            sigPlus.ClearInk();
            drawSigningScreen();
        }
    }
    if (sigPlus.HotSpotTouched(kHotSpotReset) > 0) {
        resetPressedImage->draw(sigPlus);
        OnInitDialog();
    }
    sigPlus.HotSpotReset(1);
    sigPlus.PadRefresh(1);
    WriteDiagLog(u"Exiting:\tOnPenDownSigplusctrl()\n");
}

void DlgCapture::OnClear() {
    WriteDiagLog(u"Entering:\tOnClear()\n");
    if (connected) OnInitDialog();
    WriteDiagLog(u"Exiting:\tOnClear()\n");
}

void DlgCapture::OnOK() {
    WriteDiagLog(u"Entering:\tOnOK()\n");
    if (connected) {
        sigPlus.HotSpotReset(1);
        if (sigPlus.InkPointCount() <= 0) {
            resultText = zera::kResultUnsigned;
        } else {
            sigPlus.BindBegin();
            for (const std::u16string& text : boundData) {
                platform::UniqueBstr bound = platform::UniqueBstr::copyOf(text);
                if (!bound) AfxThrowMemoryException();
                sigPlus.BindAddText(bound.byRef());
            }
            sigPlus.BindEnd();
            // The modes only after the binding; a render repeats this order
            // (see docs/compatibility.md).
            sigPlus.SetPackingMode(static_cast<std::int16_t>(compressionMode));
            sigPlus.SetCipherMode(static_cast<std::int16_t>(encryptionMode));
            resultText = sigPlus.GetSignatureText();
        }
        sigPlus.SetDisplayMode(1);
    }
    CDialog::OnOK();
    WriteDiagLog(u"Exiting:\tOnOK()\n");
}

void DlgCapture::OnCancel() {
    WriteDiagLog(u"Entering: OnCancel()\n");
    clearWholeScreen();
    CDialog::OnCancel();
    WriteDiagLog(u"Exiting: OnCancel()\n");
}
