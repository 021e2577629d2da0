// Dialog data exchange: controls to members and back, with validation.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "afxwin.h"
#include "win/window.h"

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog), m_hWndLastControl(nullptr), m_bEditLastControl(FALSE),
      m_bFailed(FALSE) {}

HWND CDataExchange::PrepareCtrl(int id) {
  m_hWndLastControl = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
  m_bEditLastControl = FALSE;
  return m_hWndLastControl;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
  HWND control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  m_bFailed = TRUE;
  if (m_bSaveAndValidate && m_hWndLastControl) win::setFocus(m_hWndLastControl);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->Failed() || control.m_hWnd) return;
  HWND window = pDX->PrepareCtrl(id);
  if (!control.Attach(window)) pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
  if (pDX->Failed()) return;
  HWND control = pDX->PrepareEditCtrl(id);
  if (!control) return;
  if (!pDX->m_bSaveAndValidate) {
    SetWindowTextA(control, value);
    return;
  }
  value = control->text.c_str();
  // A copy that found no memory must not pass the old text for the typed one.
  if (std::strcmp(value, control->text.c_str()) != 0) {
    AfxMessageBox("Out of memory.", MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}

void DDX_Text(CDataExchange* pDX, int id, int& value) {
  if (pDX->Failed()) return;
  HWND control = pDX->PrepareEditCtrl(id);
  if (!control) return;
  if (!pDX->m_bSaveAndValidate) {
    SetWindowTextA(control, std::to_string(value).c_str());
    return;
  }
  const char* text = control->text.c_str();
  char* end = nullptr;
  long number = std::strtol(text, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == text || (end && *end)) {
    AfxMessageBox("Please enter an integer.", MB_ICONEXCLAMATION);
    pDX->Fail();
    return;
  }
  value = static_cast<int>(number);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  if (pDX->Failed()) return;
  HWND control = pDX->PrepareCtrl(id);
  if (!control) return;
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(SendMessageA(control, BM_GETCHECK, 0, 0));
  } else {
    // Values that are no check state show the box unticked.
    SendMessageA(control, BM_SETCHECK, value >= 0 && value <= 2 ? value : 0, 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  if (pDX->Failed()) return;
  HWND first = pDX->PrepareCtrl(id);
  if (!first) return;
  std::vector<HWND> group = win::radioGroup(first);
  if (pDX->m_bSaveAndValidate) value = -1;
  for (size_t i = 0; i < group.size(); ++i) {
    if (pDX->m_bSaveAndValidate) {
      if (group[i]->check) value = static_cast<int>(i);
    } else {
      SendMessageA(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int chars) {
  if (pDX->Failed()) return;
  if (!pDX->m_bSaveAndValidate) {
    if (pDX->m_hWndLastControl && pDX->m_bEditLastControl) SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, chars, 0);
    return;
  }
  if (value.GetLength() > chars) {
    std::string message = "Please enter no more than %1 characters.";
    message.replace(message.find("%1"), 2, std::to_string(chars));
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}
