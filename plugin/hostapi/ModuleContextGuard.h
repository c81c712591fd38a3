// The framework's per-call module scope: the module's activation context is
// current from construction to destruction, exceptions included.
#pragma once

#include <afxwin.h>

namespace zera {

class ModuleContextGuard {
public:
    ModuleContextGuard() : state_(AfxGetStaticModuleState()) {}

private:
    AFX_MAINTAIN_STATE2 state_;
};

}  // namespace zera
