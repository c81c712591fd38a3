// The hosted signature pad control as the capture dialog sees it: one typed
// operation per member, each a single dispatch call by ID. A failed call
// raises the framework's dispatch exception, which the dialog leaves to the
// framework.
#pragma once

#include "DispatchCalls.h"

#include <afxwin.h>

#include <cstdint>
#include <string>

class CSigPlus : public CWnd, public zera::DispatchCalls {
public:
    CSigPlus() = default;
    ~CSigPlus() override = default;

    void SetPadKind(std::int16_t value);
    void SetPadPort(std::int16_t value);
    void SetPadXFrom(std::int16_t value);
    void SetPadXTo(std::int16_t value);
    void SetPadYFrom(std::int16_t value);
    void SetPadYTo(std::int16_t value);
    void SetInkSpanX(std::int16_t value);
    void SetInkSpanY(std::int16_t value);
    void SetPackingMode(std::int16_t value);
    void SetCipherMode(std::int16_t value);
    void SetInkEnabled(std::int16_t value);
    void SetDisplayMode(std::int32_t value);
    std::u16string GetSignatureText();

    void ClearInk();
    std::int16_t InkPointCount();
    void BindBegin();
    void BindAddText(BSTR* text);
    void BindEnd();
    // The pad's screen and touch keys; positions and sizes are pixels of the
    // pad's screen. The selectors (`mode`, `layer`, `show`, `kind`) and the
    // four set-up values are the control's, sent as it expects them (see
    // docs/compatibility.md). DisplaySetup: the screen's mode and size, then
    // the control's own set-up values. DisplayInkArea: shows (1) or hides (0)
    // ink as it is written in the area. DisplayBitmap and DisplayClearArea
    // act on a layer of the screen, DisplayBitmap drawing in one of the
    // control's modes. HotSpotDefine: touch key `index`, of a kind.
    void DisplaySetup(std::int16_t mode, std::int16_t width, std::int16_t height, std::int16_t setupArg0,
                      std::int16_t setupArg1, std::int16_t setupArg2, std::int16_t setupArg3);
    void DisplayInkArea(std::int16_t show, std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void InkAreaSet(std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void DisplayBitmap(std::int16_t layer, std::int16_t mode, std::int16_t x, std::int16_t y, std::int16_t width,
                       std::int16_t height, std::int32_t bitmap);
    void DisplayClearArea(std::int16_t layer, std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void HotSpotDefine(std::int16_t index, std::int16_t kind, std::int16_t x, std::int16_t y, std::int16_t width,
                       std::int16_t height);
    std::int16_t HotSpotTouched(std::int16_t index);
    void HotSpotReset(std::int16_t kind);
    void PadRefresh(std::int16_t kind);

protected:
    platform::ComPtr<IDispatch> dispatchInterface() const override;
    [[noreturn]] void raiseFailure(HRESULT status, const std::u16string& description) const override;
    [[noreturn]] void raiseOutOfMemory() const override;
};
