#include "ZERA_VirOrarApp.h"

CZERA_VirOrarApp::CZERA_VirOrarApp() : CWinApp(nullptr) {}
CZERA_VirOrarApp::~CZERA_VirOrarApp() = default;

BEGIN_MESSAGE_MAP(CZERA_VirOrarApp, CWinApp)
END_MESSAGE_MAP()

// The one application object, made when the module is loaded.
CZERA_VirOrarApp theApp;
