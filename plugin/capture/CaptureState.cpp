#include "CaptureState.h"

#include "DlgCapture.h"

namespace zera {

CaptureState::CaptureState() = default;
CaptureState::~CaptureState() = default;

CaptureState& captureState() {
    static CaptureState instance;
    return instance;
}

}  // namespace zera
