// The modal dialog in which a person signs: it hosts the pad control,
// draws the pad's screen and touch keys, reacts to touches and buttons, and
// on acceptance reads the signature bound to the caller's data.
#pragma once

#include "CSigPlus.h"
#include "TabletBMP.h"

#include <afxwin.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The pad's touch keys, and how long the prompt to sign shows (see
// docs/compatibility.md).
inline constexpr std::int16_t kHotSpotOk = 0;
inline constexpr std::int16_t kHotSpotReset = 1;
inline constexpr DWORD kPromptDelayMs = 750;

class DlgCapture : public CDialog {
public:
    DlgCapture(const std::u16string& boundText, std::int32_t compressionMode, std::int32_t encryptionMode,
               const std::optional<std::u16string>& bannerPath);
    ~DlgCapture() override;

    std::int32_t compressionMode;
    std::int32_t encryptionMode;
    std::vector<std::u16string> boundData;
    std::u16string resultText;
    CSigPlus sigPlus;
    bool connected = false;

    std::unique_ptr<TabletBMP> resetImage;
    std::unique_ptr<TabletBMP> promptImage;
    std::unique_ptr<TabletBMP> okImage;
    std::unique_ptr<TabletBMP> backgroundImage;
    std::unique_ptr<TabletBMP> okPressedImage;
    std::unique_ptr<TabletBMP> resetPressedImage;

    // The pad's geometry, as the control and the pad's screen take it (see
    // docs/compatibility.md).
    struct Area {
        std::int16_t x, y, width, height;
    };
    const Area inkArea{0, 22, 240, 40};
    struct PadWindow {
        std::int16_t xFrom, xTo, yFrom, yTo, spanX, spanY;
    };
    const PadWindow padWindow{400, 2400, 350, 1050, 2000, 700};
    const std::array<std::int16_t, 2> lcdSize{240, 64};
    const std::array<std::int16_t, 4> displaySetupArgs{100, 0, 1900, 700};

    BOOL GetConnected();
    void OnClear();
    void OnPenDownSigplusctrl();

protected:
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    void clearWholeScreen();
    void drawSigningScreen();
};
