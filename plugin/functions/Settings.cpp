#include "Settings.h"

#include "capture/DlgCapture.h"

namespace zera {

std::int16_t tabletMode = kDefaultTabletMode;
std::int16_t tabletComPort = kDefaultTabletComPort;

CaptureState::CaptureState() = default;
CaptureState::~CaptureState() = default;

void CaptureState::setBannerPath(const std::optional<std::u16string>& path) { bannerPath_ = path; }

CaptureState& captureState() {
    static CaptureState instance;
    return instance;
}

}  // namespace zera
