#include "CaptureState.h"
#include "DlgCapture.h"
#include "SigPlusLink.h"
#include "SigPlusMembers.h"
#include "functions/ErrorCodes.h"
#include "functions/LastError.h"
#include "functions/ResultTexts.h"
#include "functions/Settings.h"
#include "log/DiagLog.h"

#include <string>

namespace zera {
namespace {

// Whether a control that can be created answers at all. A control that
// cannot be created is not a probe failure: the dialog then fails to open.
bool probeFails() {
    SigPlusLink link;
    if (!link.isOpen()) return false;
    try {
        link.call(sigplus::PadReset);
    } catch (const ComError&) {
        return true;
    }
    return false;
}

}  // namespace

std::u16string CaptureState::runCapture(const std::u16string& boundText) {
    if (probeFails()) {
        LastError::raise(kErrSigPlusNotInstalled);
        return kResultError;
    }
    AfxEnableControlContainer();
    currentDialog.reset();
    // Log texts kept byte for byte (see docs/compatibility.md).
    WriteDiagLog(u"Creating the dialog and calling \"DoModal()\"\n");
    currentDialog = std::make_unique<DlgCapture>(boundText, compressionMode, encryptionMode, bannerPath);
    const INT_PTR outcome = currentDialog->DoModal();
    const std::string logged = "\"DoModal()\" returned a value of " + std::to_string(outcome) + "\n";
    WriteDiagLog(std::u16string(logged.begin(), logged.end()));
    std::u16string result = currentDialog->resultText;
    currentDialog.reset();
    // A dialog that could not open (no control to host, no screen to show it
    // on) answers the empty text of a cancelled capture, but the failure must
    // not read as the signer's choice.
    if (outcome == -1) LastError::raise(kErrSigPlusNotInstalled);
    return result;
}

}  // namespace zera
