// The plug-in's settings. They live in memory from module load to module
// unload; nothing is saved anywhere, every load starts from the defaults.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class DlgCapture;

namespace zera {

// Pad type code and COM port, handed to the control unchanged.
extern std::int16_t tabletMode;
extern std::int16_t tabletComPort;

inline constexpr std::int16_t kDefaultTabletMode = 6;
inline constexpr std::int16_t kDefaultTabletComPort = 0;
inline constexpr std::int32_t kDefaultEncryptionMode = 2;
inline constexpr std::int32_t kDefaultCompressionMode = 0;
inline constexpr std::int32_t kDefaultPenWidth = 15;

// Capture and render settings, the last rendered image and the capture in
// progress. Exactly one instance exists: captureState().
class CaptureState {
public:
    CaptureState();
    ~CaptureState();
    CaptureState(const CaptureState&) = delete;
    CaptureState& operator=(const CaptureState&) = delete;

    // Replaces the banner path with a copy, or clears it.
    void setBannerPath(const std::optional<std::u16string>& path);
    const std::optional<std::u16string>& bannerPath() const { return bannerPath_; }

    void setPenWidth(std::int32_t width) { penWidth = width; }

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
    std::int32_t encryptionMode = kDefaultEncryptionMode;
    std::int32_t compressionMode = kDefaultCompressionMode;
    std::int32_t penWidth = kDefaultPenWidth;

private:
    std::optional<std::u16string> bannerPath_;
};

CaptureState& captureState();

}  // namespace zera
