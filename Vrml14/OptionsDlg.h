// The export options and the dialog that edits them before each VRMLOUT.
#pragma once
#include <cstdint>

#include "afxwin.h"
#include "wrl_file.h"

// The drawing units; a value is the position of the unit's radio button.
enum class WrlUnits : int32_t { kMillimeter = 0, kCentimeter = 1, kMeter = 2, kInch = 3, kOther = 4 };

// The version radio buttons by position.
enum class WrlVersionButton : int32_t { kVrml1 = 0, kVrml2 = 1 };

// The options of one export; every VRMLOUT starts from these defaults.
struct WrlOptions {
  WrlUnits units = WrlUnits::kMillimeter;
  CString scaleText = "1.0";  // the scale box, used only with WrlUnits::kOther
  int ucsTransform = 1;       // recalculate points to the current UCS
  WrlVersionButton version = WrlVersionButton::kVrml1;
};

class COptionsDlg : public CDialog {
 public:
  explicit COptionsDlg(CWnd* parent = nullptr);

  // The factor of the scaling node for the chosen drawing unit.
  double getScale() const;
  // The version the world file is written in.
  WrlVersion getVersion() const;

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
