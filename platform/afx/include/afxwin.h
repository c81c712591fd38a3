// The application framework's core: module state, the application object,
// windows with message maps, and modal dialogs from the module's templates.
// It is compiled into each module that uses it (a static library), so that
// every module has its own state and finds its own resources.
#pragma once

#include <windows.h>

#include <string>

class CWinApp;
class CWnd;

// Per-module state: which module this is, where its resources are, and the
// activation context made from its manifest.
struct AFX_MODULE_STATE {
    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    HANDLE m_hActCtx = INVALID_HANDLE_VALUE;
    CWinApp* m_pCurrentWinApp = nullptr;
};

AFX_MODULE_STATE* AfxGetStaticModuleState();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
CWinApp* AfxGetApp();

// Makes a module's activation context current for one scope.
class AFX_MAINTAIN_STATE2 {
public:
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* moduleState);
    ~AFX_MAINTAIN_STATE2();
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

private:
    ULONG_PTR cookie_ = 0;
    bool activated_ = false;
};

// ---- Message maps ----------------------------------------------------------

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    UINT_PTR nSig;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                              \
protected:                                                 \
    static const AFX_MSGMAP* GetThisMessageMap();          \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                           \
        using ThisClass = theClass;                                             \
        using TheBaseClass = baseClass;                                         \
        static const AFX_MSGMAP_ENTRY entries[] = {
#define END_MESSAGE_MAP()                                                        \
    {0, 0, 0, 0, 0, nullptr}};                                                  \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &entries[0]}; \
        static_cast<void>(sizeof(ThisClass));                                  \
        return &messageMap;                                                     \
    }

class CObject {
public:
    virtual ~CObject() = default;
};

class CCmdTarget : public CObject {
public:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();
    // Entries of this class's map and its bases', most derived first.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT code, UINT id) const;
};

// ---- The application object -----------------------------------------------

class CWinApp : public CCmdTarget {
public:
    explicit CWinApp(LPCWSTR appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    LPCWSTR m_pszAppName;
};

// ---- Windows and dialogs --------------------------------------------------

class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
};

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Moves data between members and controls: to the controls when
    // `saveAndValidate` is false, back to the members when it is true.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

protected:
    virtual void DoDataExchange(CDataExchange* exchange);
};

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent);
    ~CDialog() override = default;

    // Runs the dialog modally: IDOK (1) or IDCANCEL (2) as the dialog ends,
    // -1 when it cannot be shown (its template is not in the module).
    virtual INT_PTR DoModal();

protected:
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;
};

inline constexpr INT_PTR IDOK = 1;
inline constexpr INT_PTR IDCANCEL = 2;

// Exchanges a text member with an edit control.
void DDX_Text(CDataExchange* exchange, int controlId, std::u16string& value);
