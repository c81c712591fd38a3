#pragma once

#include <afxwin.h>

// The module's application object. The framework initialises itself for the
// module around it, so dialogs, bitmaps and strings are found in this module.
class CZERA_VirOrarApp : public CWinApp {
public:
    CZERA_VirOrarApp();
    ~CZERA_VirOrarApp() override;

    DECLARE_MESSAGE_MAP()
};
