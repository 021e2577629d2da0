// CCmdTarget and CWnd: message maps and the window calls on bound windows.
#include <string>

#include "afxwin.h"
#include "win/window.h"

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT id, UINT code) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e && e->pfn; ++e) {
      if (e->nMessage == WM_COMMAND && e->nCode == code && e->nID == id) {
        (this->*(e->pfn))();
        return TRUE;
      }
    }
  }
  return FALSE;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() : m_hWnd(nullptr) {}

CWnd::~CWnd() {
  // A framework object going away takes its window with it.
  if (win::isLive(m_hWnd)) {
    HWND window = m_hWnd;
    window->object = nullptr;
    m_hWnd = nullptr;
    if (window->kind == ControlKind::Dialog) win::destroy(window);
  }
}

BOOL CWnd::Attach(HWND window) {
  if (!win::isLive(window) || m_hWnd || window->object) return FALSE;
  window->object = this;
  m_hWnd = window;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND window = m_hWnd;
  if (win::isLive(window) && window->object == this) window->object = nullptr;
  m_hWnd = nullptr;
  return window;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent && Attach(win::findControl(parent->m_hWnd, static_cast<int>(id)));
}

CWnd* CWnd::FromHandle(HWND window) {
  if (!win::isLive(window)) return nullptr;
  if (window->object) return window->object;
  if (!window->wrapper) {
    window->wrapper = new CWnd;
    window->wrapper->m_hWnd = window;
  }
  return window->wrapper;
}

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowTextA(m_hWnd, text); }

int CWnd::GetWindowText(LPSTR buffer, int size) const { return ::GetWindowTextA(m_hWnd, buffer, size); }

void CWnd::GetWindowText(CString& text) const { text = win::isLive(m_hWnd) ? m_hWnd->text.c_str() : ""; }

int CWnd::GetWindowTextLength() const { return GetWindowTextLengthA(m_hWnd); }

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetWindowTextA(::GetDlgItem(m_hWnd, id), text); }

int CWnd::GetDlgItemText(int id, CString& text) const {
  HWND control = ::GetDlgItem(m_hWnd, id);
  text = control ? control->text.c_str() : "";
  return text.GetLength();
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }

BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }

BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }

BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }

CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }

CWnd* CWnd::GetParent() const { return win::isLive(m_hWnd) ? FromHandle(m_hWnd->parent) : nullptr; }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return win::send(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
  return win::send(::GetDlgItem(m_hWnd, id), message, wParam, lParam);
}

void CWnd::CheckDlgButton(int id, UINT check) { SendDlgItemMessage(id, BM_SETCHECK, check); }

UINT CWnd::IsDlgButtonChecked(int id) const { return static_cast<UINT>(SendDlgItemMessage(id, BM_GETCHECK)); }

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) { return ::MessageBoxA(m_hWnd, text, caption, type); }

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
  if (!win::isLive(m_hWnd)) return FALSE;
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return !dx.Failed();
}

BOOL CWnd::DestroyWindow() {
  if (!win::isLive(m_hWnd)) return FALSE;
  win::destroy(m_hWnd);
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) { return OnCmdMsg(LOWORD(wParam), HIWORD(wParam)); }

void CWnd::DoDataExchange(CDataExchange*) {}

void CWnd::PostNcDestroy() {}

// ---------------------------------------------------------------- controls

int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, check); }

void CEdit::LimitText(int chars) { SendMessage(EM_LIMITTEXT, chars); }

void CProgressCtrl::SetRange(short lower, short upper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
int CProgressCtrl::SetStep(int step) { return static_cast<int>(SendMessage(PBM_SETSTEP, step)); }
int CProgressCtrl::StepIt() { return static_cast<int>(SendMessage(PBM_STEPIT)); }
int CProgressCtrl::SetPos(int pos) { return static_cast<int>(SendMessage(PBM_SETPOS, pos)); }
int CProgressCtrl::GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }

void CSliderCtrl::SetRange(int minimum, int maximum, BOOL redraw) {
  SetRangeMin(minimum, FALSE);
  SetRangeMax(maximum, redraw);
}
void CSliderCtrl::SetRangeMin(int minimum, BOOL redraw) { SendMessage(TBM_SETRANGEMIN, redraw, minimum); }
void CSliderCtrl::SetRangeMax(int maximum, BOOL redraw) { SendMessage(TBM_SETRANGEMAX, redraw, maximum); }
void CSliderCtrl::SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, frequency); }
void CSliderCtrl::SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, pos); }
int CSliderCtrl::GetPos() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
int CSliderCtrl::GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
int CSliderCtrl::GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }

// ---------------------------------------------------------------- window calls

extern "C" {

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return win::send(window, message, wParam, lParam);
}

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  return win::isLive(window) && win::send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  return static_cast<int>(win::send(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthA(HWND window) { return static_cast<int>(win::send(window, WM_GETTEXTLENGTH, 0, 0)); }

HWND GetDlgItem(HWND dialog, int id) { return win::findControl(dialog, id); }

int GetDlgCtrlID(HWND window) { return win::isLive(window) ? window->id : 0; }

BOOL EnableWindow(HWND window, BOOL enable) {
  if (!win::isLive(window)) return FALSE;
  BOOL wasDisabled = !window->enabled;
  window->enabled = enable != FALSE;
  // A disabled control gives the focus up to the next one that can take it.
  if (!window->enabled && window->parent && window->parent->focus == window) window->parent->focus = nullptr;
  win::noteChanged(window);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) { return win::isLive(window) && window->enabled; }

BOOL IsWindow(HWND window) { return win::isLive(window); }

BOOL IsWindowVisible(HWND window) { return win::isLive(window) && window->visible; }

HWND SetFocus(HWND window) {
  HWND previous = GetFocus();
  if (win::isLive(window) && window->parent) win::setFocus(window);
  return previous;
}

HWND GetFocus(void) {
  auto all = win::dialogs();
  for (auto it = all.rbegin(); it != all.rend(); ++it)
    if ((*it)->visible && (*it)->focus) return (*it)->focus;
  return nullptr;
}

}  // extern "C"
