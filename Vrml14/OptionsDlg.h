// The export options and the dialog that edits them before each VRMLOUT.
#pragma once
#include "afxwin.h"

// The options of one export; every VRMLOUT starts from these defaults.
struct WrlOptions {
  int units = 0;              // 0 mm, 1 cm, 2 m, 3 inch, 4 other
  CString scaleText = "1.0";  // the scale box, used only with units 4
  int ucsTransform = 1;       // recalculate points to the current UCS
  int version = 0;            // 0 VRML 1.0, 1 VRML 2.0
};

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(CWnd* parent = nullptr);

  // The factor of the scaling node for the chosen drawing unit.
  double getScale() const;

  WrlOptions m_options;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void onFixedUnit();
  void onOtherUnit();

  CEdit m_scaleEdit;

  DECLARE_MESSAGE_MAP()
};
