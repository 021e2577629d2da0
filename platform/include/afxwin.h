// The window framework: application object, resources by module handle,
// windows, dialogs from templates, controls, message maps and data exchange.
// Every operation reports by its result; none throws.
#pragma once
#include <cstddef>

#include "afx.h"
#include "afxstr.h"
#include "commctrl.h"
#include "rcdata.h"
#include "windef.h"
#include "winuser.h"

typedef intptr_t INT_PTR;

class CWnd;
class CDataExchange;

// ---------------------------------------------------------------- resources

// Registers a module's compiled resources under its handle and runs the
// application object's InitInstance. FALSE when the handle or table is null
// or InitInstance fails (the resources then stay unregistered).
BOOL AfxAttachModule(HINSTANCE module, const RcModuleResources* resources);
// Runs ExitInstance and forgets the module's resources.
void AfxDetachModule(HINSTANCE module);
// The module whose resources dialogs and strings come from: the one attached
// last (or the one set explicitly); null when none is attached.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
// A string of a module's table, or null.
const char* AfxFindStringResource(HINSTANCE module, UINT id);
// A dialog template of a module's table, or null.
const RcDialog* AfxFindDialogTemplate(HINSTANCE module, UINT id);

// ---------------------------------------------------------------- message maps

class CCmdTarget;
typedef void (CCmdTarget::*AFX_PMSG)();

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // WM_COMMAND
  UINT nCode;     // notification code, e.g. BN_CLICKED
  UINT nID;       // control id
  AFX_PMSG pfn;   // handler; null ends the table
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                    \
    typedef baseClass TheBaseClass;                                                 \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, nullptr }                                                                          \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<AFX_PMSG>(&ThisClass::memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) \
  {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), static_cast<AFX_PMSG>(&ThisClass::memberFxn)},

class AFX_API CCmdTarget : public CObject {
 public:
  CCmdTarget();
  virtual ~CCmdTarget();
  // Runs the handler the message map has for this command; FALSE when none.
  BOOL OnCmdMsg(UINT id, UINT code);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

// ---------------------------------------------------------------- application

class AFX_API CWinApp : public CCmdTarget {
 public:
  // Registers the one application object (the framework's AfxGetApp).
  explicit CWinApp(const char* appName = nullptr);
  ~CWinApp() override;
  virtual BOOL InitInstance();
  virtual int ExitInstance();

  const char* m_pszAppName;
  HINSTANCE m_hInstance;
};

CWinApp* AfxGetApp();
// The application's name, else the resource module's file name without its
// extension; used as the caption of framework message boxes.
const char* AfxGetAppName();

// ---------------------------------------------------------------- windows

class AFX_API CWnd : public CCmdTarget {
 public:
  CWnd();
  ~CWnd() override;

  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  // Binds this object to an existing window (one object per window).
  BOOL Attach(HWND window);
  HWND Detach();
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // The object bound to a window, or a wrapper the platform owns.
  static CWnd* FromHandle(HWND window);

  void SetWindowText(LPCTSTR text);
  int GetWindowText(LPSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  CWnd* GetDlgItem(int id) const;
  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, CString& text) const;
  int GetDlgCtrlID() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsWindowVisible() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* GetParent() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
  // Runs DoDataExchange towards the controls (FALSE) or from them (TRUE).
  BOOL UpdateData(BOOL saveAndValidate = TRUE);
  virtual BOOL DestroyWindow();

  // Called by the platform when a control of this window sends a command.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual void DoDataExchange(CDataExchange* pDX);
  // The window is gone; its handle is already cleared.
  virtual void PostNcDestroy();

  HWND m_hWnd;

 protected:
  DECLARE_MESSAGE_MAP()
};

class AFX_API CDialog : public CWnd {
 public:
  CDialog();
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Modeless: creates the window from a template of the resource module.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  // Modal: IDOK, IDCANCEL or what EndDialog gave; -1 when no window could
  // be made (no such template).
  virtual INT_PTR DoModal();
  void EndDialog(int result);
  void GotoDlgCtrl(CWnd* control);
  void NextDlgCtrl();
  void PrevDlgCtrl();

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

 protected:
  UINT m_nIDTemplate;
  CWnd* m_pParentWnd;
  int m_nModalResult;  // -1 while a modal dialog runs
  BOOL m_bModal;

  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------- controls

class AFX_API CButton : public CWnd {
 public:
  int GetCheck() const;
  void SetCheck(int check);
};

class AFX_API CEdit : public CWnd {
 public:
  void LimitText(int chars);
};

class AFX_API CStatic : public CWnd {};

class AFX_API CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper);
  int SetStep(int step);
  int StepIt();
  int SetPos(int pos);
  int GetPos() const;
};

class AFX_API CSliderCtrl : public CWnd {
 public:
  void SetRange(int minimum, int maximum, BOOL redraw = FALSE);
  void SetRangeMin(int minimum, BOOL redraw = FALSE);
  void SetRangeMax(int maximum, BOOL redraw = FALSE);
  void SetTicFreq(int frequency);
  void SetPos(int pos);
  int GetPos() const;
  int GetRangeMin() const;
  int GetRangeMax() const;
};

// ---------------------------------------------------------------- data exchange

class AFX_API CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate);
  // Marks the exchange failed (after the user was told) and moves the focus
  // to the control last prepared; later exchange steps then do nothing.
  void Fail();
  HWND PrepareCtrl(int id);
  HWND PrepareEditCtrl(int id);
  BOOL Failed() const { return m_bFailed; }

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  HWND m_hWndLastControl;
  BOOL m_bEditLastControl;

 private:
  BOOL m_bFailed;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The radio group starting at id: the index of the checked button, -1 none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// Towards the control: limits the edit box; from it: refuses longer texts
// with "Please enter no more than %1 characters.".
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int chars);

// ---------------------------------------------------------------- message boxes

int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
