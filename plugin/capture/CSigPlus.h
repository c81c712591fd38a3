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
    void DisplaySetup(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, std::int16_t e, std::int16_t f,
                      std::int16_t g);
    void DisplayInkArea(std::int16_t a, std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void InkAreaSet(std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void DisplayBitmap(std::int16_t a, std::int16_t b, std::int16_t x, std::int16_t y, std::int16_t width,
                       std::int16_t height, std::int32_t bitmap);
    void DisplayClearArea(std::int16_t a, std::int16_t x, std::int16_t y, std::int16_t width, std::int16_t height);
    void HotSpotDefine(std::int16_t index, std::int16_t a, std::int16_t x, std::int16_t y, std::int16_t width,
                       std::int16_t height);
    std::int16_t HotSpotTouched(std::int16_t index);
    void HotSpotReset(std::int16_t index);
    void PadRefresh(std::int16_t value);

protected:
    platform::ComPtr<IDispatch> dispatchInterface() const override;
    [[noreturn]] void raiseFailure(HRESULT status, const std::u16string& description) const override;
    [[noreturn]] void raiseOutOfMemory() const override;
};
