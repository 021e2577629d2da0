// The modeless window that shows the export's progress and offers Cancel.
#pragma once
#include <chrono>

#include "afxwin.h"

class CProgressDlg : public CDialog {
 public:
  explicit CProgressDlg(CWnd* parent = nullptr);
  ~CProgressDlg() override;

  using CDialog::Create;
  // Creates the window from its template over the parent given at construction.
  virtual BOOL Create();

  // Shows the counts as they stand before the window goes.
  BOOL DestroyWindow() override;

  int isCancelled() const;
  void setRange(int count);
  void step();
  void addIgnored();
  void addConverted();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnCancel() override;
  // The counts as texts, into the window.
  void showCounts();

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
  int m_nRange;    // entities expected since setRange
  std::chrono::steady_clock::time_point m_lastShown;

  DECLARE_MESSAGE_MAP()
};
