#include <afxwin.h>

namespace {

// ISOLATIONAWARE_MANIFEST_RESOURCE_ID: the manifest a DLL carries for its
// own activation context (Win32 defines the name as a resource name already).
constexpr WORD kOwnManifestId = 2;

// The address of this object identifies the module the framework is
// compiled into.
AFX_MODULE_STATE moduleState;

void initialiseModuleState() {
    if (moduleState.m_hCurrentInstanceHandle != nullptr) return;
    HMODULE module = nullptr;
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&moduleState), &module)) {
        moduleState.m_hCurrentInstanceHandle = module;
        moduleState.m_hCurrentResourceHandle = module;
    }
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.hModule = module;
    context.lpResourceName = MAKEINTRESOURCEW(kOwnManifestId);
    moduleState.m_hActCtx = CreateActCtxW(&context);
}

}  // namespace

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    initialiseModuleState();
    return &moduleState;
}

HINSTANCE AfxGetInstanceHandle() { return AfxGetStaticModuleState()->m_hCurrentInstanceHandle; }
HINSTANCE AfxGetResourceHandle() { return AfxGetStaticModuleState()->m_hCurrentResourceHandle; }
void AfxSetResourceHandle(HINSTANCE resources) { AfxGetStaticModuleState()->m_hCurrentResourceHandle = resources; }
CWinApp* AfxGetApp() { return AfxGetStaticModuleState()->m_pCurrentWinApp; }

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* state) {
    if (state != nullptr && state->m_hActCtx != INVALID_HANDLE_VALUE) {
        activated_ = ActivateActCtx(state->m_hActCtx, &cookie_) != FALSE;
    }
}

AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() {
    if (activated_) DeactivateActCtx(0, cookie_);
}

CWinApp::CWinApp(LPCWSTR appName) : m_pszAppName(appName) {
    AfxGetStaticModuleState()->m_pCurrentWinApp = this;
}

CWinApp::~CWinApp() {
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    if (state->m_pCurrentWinApp == this) state->m_pCurrentWinApp = nullptr;
    if (state->m_hActCtx != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(state->m_hActCtx);
        state->m_hActCtx = INVALID_HANDLE_VALUE;
    }
}
