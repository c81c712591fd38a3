// The application framework's core: module state, the application object,
// windows with message maps, and modal dialogs from the module's templates.
// It is compiled into each module that uses it (a static library), so that
// every module has its own state and finds its own resources.
#pragma once

#include <windows.h>
#include <ocidl.h>

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
// Where dialogs, bitmaps and strings are looked up; the module itself unless set.
void AfxSetResourceHandle(HINSTANCE resources);
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

// ---- Exceptions raised inside message handlers ----------------------------

class CException {
public:
    virtual ~CException() = default;
    // The text the framework shows in its error box.
    virtual std::u16string ErrorMessage() const = 0;
};

class CMemoryException : public CException {
public:
    std::u16string ErrorMessage() const override { return u"Out of memory."; }
};

// A failed call into a hosted control.
class COleDispatchException : public CException {
public:
    COleDispatchException(HRESULT status, std::u16string description)
        : m_scError(status), m_strDescription(std::move(description)) {}
    std::u16string ErrorMessage() const override;

    HRESULT m_scError;
    std::u16string m_strDescription;
};

[[noreturn]] void AfxThrowOleDispatchException(HRESULT status, const std::u16string& description);
[[noreturn]] void AfxThrowMemoryException();

// ---- Event sink maps -------------------------------------------------------

struct AFX_EVENTSINKMAP_ENTRY {
    UINT controlId;
    DISPID dispid;
    AFX_PMSG pfn;
};

struct AFX_EVENTSINKMAP {
    const AFX_EVENTSINKMAP* (*pfnGetBaseMap)();
    const AFX_EVENTSINKMAP_ENTRY* lpEntries;
};

#define DECLARE_EVENTSINK_MAP()                                    \
protected:                                                         \
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();          \
    const AFX_EVENTSINKMAP* GetEventSinkMap() const override;

#define BEGIN_EVENTSINK_MAP(theClass, baseClass)                                             \
    const AFX_EVENTSINKMAP* theClass::GetEventSinkMap() const { return GetThisEventSinkMap(); } \
    const AFX_EVENTSINKMAP* theClass::GetThisEventSinkMap() {                                 \
        using ThisSinkClass = theClass;                                                       \
        using TheSinkBaseClass = baseClass;                                                   \
        static const AFX_EVENTSINKMAP_ENTRY entries[] = {
// Only events without parameters are sunk here.
#define ON_EVENT(theClass, id, dispid, memberFxn, vtsNone) \
    {static_cast<UINT>(id), static_cast<DISPID>(dispid), static_cast<AFX_PMSG>(&theClass::memberFxn)},
#define END_EVENTSINK_MAP()                                                                       \
    {0, 0, nullptr}};                                                                            \
        static const AFX_EVENTSINKMAP sinkMap = {&TheSinkBaseClass::GetThisEventSinkMap, &entries[0]}; \
        static_cast<void>(sizeof(ThisSinkClass));                                                \
        return &sinkMap;                                                                          \
    }
#define VTS_NONE nullptr

// Button clicks in message maps.
// The Win32 headers define these as macros; the Linux platform lacks them.
#ifndef WM_COMMAND
#define WM_COMMAND 0x0111
#endif
#ifndef BN_CLICKED
#define BN_CLICKED 0
#endif
#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<UINT>(id), 1, static_cast<AFX_PMSG>(&ThisClass::memberFxn)},

// Hosted controls can be created only once this has been called.
void AfxEnableControlContainer();

// ---- Windows and dialogs --------------------------------------------------

namespace afx {
class DialogWindow;
class ControlSite;
}  // namespace afx

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

    // The hosted control this window stands for (after DDX_Control), or null.
    IUnknown* GetControlUnknown() const;
    UINT GetDlgCtrlID() const { return m_nControlId; }

    virtual const AFX_EVENTSINKMAP* GetEventSinkMap() const;
    static const AFX_EVENTSINKMAP* GetThisEventSinkMap();

    // The dialog window this window belongs to, while it exists.
    afx::DialogWindow* m_pDialogWindow = nullptr;
    afx::ControlSite* m_pCtrlSite = nullptr;
    UINT m_nControlId = 0;

protected:
    virtual void DoDataExchange(CDataExchange* exchange);
};

class CDialog : public CWnd {
public:
    CDialog(UINT templateId, CWnd* parent);
    ~CDialog() override = default;

    // Runs the dialog modally: IDOK (1) or IDCANCEL (2) as the dialog ends,
    // -1 when its window cannot be made (its template is not in the module,
    // or a hosted control cannot be created). Input comes from the process's
    // input source; when it runs out the dialog is closed as by its close
    // box. An exception out of a handler is shown in an error box, the rest
    // of that handler is skipped and the dialog stays open.
    virtual INT_PTR DoModal();
    void EndDialog(int result);

    // Runs a handler as the framework runs message handlers.
    void RunHandler(void (CCmdTarget::*handler)());
    // An event of a hosted control, by control ID and dispatch ID.
    void FireEvent(UINT controlId, DISPID dispid);

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

private:
    // The backend's window runs the modal loop and calls the handlers.
    friend class afx::DialogWindow;
    bool m_ended = false;
    int m_result = 0;
};

// Binds a window object to the dialog's control of that ID.
void DDX_Control(CDataExchange* exchange, int controlId, CWnd& control);
// Exchanges a text member with an edit control.
void DDX_Text(CDataExchange* exchange, int controlId, std::u16string& value);
