// The modeless window that shows the export's progress and offers Cancel.
#pragma once
#include "afxwin.h"

class CProgressDlg : public CDialog {
 public:
  explicit CProgressDlg(CWnd* parent = nullptr);
  ~CProgressDlg() override;

  using CDialog::Create;
  // Creates the window from its template over the parent given at construction.
  virtual BOOL Create();

  int isCancelled() const;
  void setRange(int count);
  void step();
  void addIgnored();
  void addConverted();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;

  CProgressCtrl m_progress;
  CString m_strConverted;
  CString m_strIgnored;
  CWnd* m_pParent;
  int m_nTemplate;
  int m_nConverted;
  int m_nIgnored;
  int m_bCancelled;
  int m_nPerStep;  // entities per step of the bar
  int m_nSteps;    // entities counted since setRange

  DECLARE_MESSAGE_MAP()
};
