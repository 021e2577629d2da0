// The properties dialog of VRMLPROP: URL, description, the colour switch,
// shininess and transparency of one object.
#pragma once
#include "afxwin.h"

class CPropDialog : public CDialog {
 public:
  explicit CPropDialog(CWnd* parent = nullptr);
  ~CPropDialog() override;

  double m_shininess = 0.0;     // 0..1, trackbar 1014
  double m_transparency = 0.0;  // 0..1, trackbar 1015
  CString m_url;
  CString m_description;
  int m_useAcadColor = 0;
  CSliderCtrl m_transparencyCtrl;
  CSliderCtrl m_shininessCtrl;

 protected:
  DECLARE_MESSAGE_MAP()
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  // The positions the trackbars opened at: a slider left alone keeps its
  // value exactly instead of being requantised to a hundredth.
  int m_shownTransparency = 0;
  int m_shownShininess = 0;
};
