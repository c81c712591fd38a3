// The last rendered image and the capture in progress: what the pad
// control's render and capture leave behind between calls. Exactly one
// instance exists: captureState().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DlgCapture;

namespace zera {

class CaptureState {
public:
    CaptureState();
    ~CaptureState();
    CaptureState(const CaptureState&) = delete;
    CaptureState& operator=(const CaptureState&) = delete;

    // Turns a stored signature and the text it was bound to into image
    // bytes, under the stored modes and pen width. On success the bytes are
    // `imageBuffer`'s, valid until the next render that gets as far.
    bool renderSignatureImage(const std::u16string& signatureText, const std::u16string& boundText,
                              const std::uint8_t** outBytes, std::uint32_t* outByteCount);

    // Runs the capture dialog for the bound text and gives its outcome: the
    // signature text, "UNSIGNED", an empty text, or "!!ERROR!!" when the
    // control is there but does not answer.
    std::u16string runCapture(const std::u16string& boundText);

    std::vector<std::uint8_t> imageBuffer;  // empty until the first render
    std::int16_t renderWidth = 0;
    std::int16_t renderHeight = 0;
    std::unique_ptr<DlgCapture> currentDialog;  // while a capture runs
};

CaptureState& captureState();

}  // namespace zera
