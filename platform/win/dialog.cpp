// CDialog: modal and modeless dialogs made from the resource module's templates.
#include "afxwin.h"
#include "win/presentation.h"
#include "win/window.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The first control that takes the focus when a dialog opens: the first
// with a tab stop, as the dialog manager chooses.
HWND firstTabStop(HWND dialog) {
  for (HWND c : win::controls(dialog))
    if ((c->style & WS_TABSTOP) && win::canTakeFocus(c)) return c;
  for (HWND c : win::controls(dialog))
    if (win::canTakeFocus(c)) return c;
  return nullptr;
}

// Builds the window, binds it to the object and runs OnInitDialog; null when
// the template is missing or the object already has a window.
HWND build(CDialog* dialog, UINT templateId, CWnd* parent) {
  const RcDialog* t = AfxFindDialogTemplate(AfxGetResourceHandle(), templateId);
  if (!t || dialog->m_hWnd) return nullptr;
  HWND window = win::createDialog(*t, parent ? parent->m_hWnd : nullptr);
  dialog->Attach(window);
  if (dialog->OnInitDialog() && win::isLive(window) && !window->focus) {
    if (HWND first = firstTabStop(window)) win::setFocus(first);
  }
  return win::isLive(window) ? window : nullptr;
}

}  // namespace

CDialog::CDialog() : m_nIDTemplate(0), m_pParentWnd(nullptr), m_nModalResult(-1), m_bModal(FALSE) {}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_pParentWnd(parent), m_nModalResult(-1), m_bModal(FALSE) {}

CDialog::~CDialog() = default;

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  m_pParentWnd = parent;
  m_bModal = FALSE;
  HWND window = build(this, templateId, parent);
  if (!window) return FALSE;
  if (window->style & WS_VISIBLE) {
    window->visible = true;
    win::presentation->modelessShown(window);
  }
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  m_bModal = TRUE;
  m_nModalResult = -1;
  HWND window = build(this, m_nIDTemplate, m_pParentWnd);
  if (!window) return -1;
  window->modal = true;
  window->visible = true;
  if (!window->ended) win::presentation->runModal(window);
  int result = window->ended ? window->result : IDCANCEL;
  m_nModalResult = result;
  if (win::isLive(window)) win::destroy(window);
  m_bModal = FALSE;
  return result;
}

void CDialog::EndDialog(int result) {
  HWND window = m_hWnd;
  if (!win::isLive(window)) return;
  window->ended = true;
  window->result = result;
  m_nModalResult = result;
  // A modeless dialog is only hidden; its owner destroys it.
  if (!window->modal) window->visible = false;
  win::noteChanged(window);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) win::setFocus(control->m_hWnd);
}

namespace {
void moveFocus(HWND dialog, int direction) {
  const auto& all = win::controls(dialog);
  if (all.empty()) return;
  int n = static_cast<int>(all.size());
  int start = 0;
  for (int i = 0; i < n; ++i)
    if (all[i] == dialog->focus) start = i;
  for (int k = 1; k <= n; ++k) {
    HWND c = all[((start + direction * k) % n + n) % n];
    if ((c->style & WS_TABSTOP) && win::canTakeFocus(c)) {
      win::setFocus(c);
      return;
    }
  }
}
}  // namespace

void CDialog::NextDlgCtrl() { moveFocus(m_hWnd, 1); }

void CDialog::PrevDlgCtrl() { moveFocus(m_hWnd, -1); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }
