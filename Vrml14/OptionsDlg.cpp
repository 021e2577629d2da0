// The options dialog: drawing unit and scale, UCS choice, VRML version.
#include "OptionsDlg.h"

#include <cfloat>
#include <cstdlib>
#include <cstring>

#include "message.h"
#include "res/resource.h"
#include "wrl_number.h"

namespace {

// Controls whose texts come from the catalogue, with their message numbers.
struct ControlText {
  int control;
  int message;
};
const ControlText kTexts[] = {
    {IDC_UNITS_GROUP, 51}, {IDC_MILLIMETER, 52}, {IDC_CENTIMETER, 53}, {IDC_METER, 54},
    {IDC_INCH, 55},        {IDC_OTHER, 56},      {IDC_UCS_GROUP, 57},  {IDC_UCS, 58},
    {IDOK, 59},            {IDCANCEL, 60},       {IDC_VERSION_GROUP, 61}, {IDC_VRML1, 62},
    {IDC_VRML2, 63},
};

enum { kOtherUnits = 4 };

// A scale every reader can use: finite, within single precision (the
// readers' number type) and not so small that the world file says 0.000000.
bool usableScale(double scale) {
  if (!(scale > 0.0 && scale <= FLT_MAX)) return false;  // NaN fails too
  char printed[wrl_number::kMaxFixedChars];
  char* end = wrl_number::fixed6(printed, scale);
  return std::strspn(printed, "0.") != static_cast<size_t>(end - printed);
}

}  // namespace

BEGIN_MESSAGE_MAP(COptionsDlg, CDialog)
ON_BN_CLICKED(IDC_MILLIMETER, onFixedUnit)
ON_BN_CLICKED(IDC_CENTIMETER, onFixedUnit)
ON_BN_CLICKED(IDC_METER, onFixedUnit)
ON_BN_CLICKED(IDC_INCH, onFixedUnit)
ON_BN_CLICKED(IDC_OTHER, onOtherUnit)
END_MESSAGE_MAP()

COptionsDlg::COptionsDlg(CWnd* parent) : CDialog(IDD_OPTIONS, parent) {}

double COptionsDlg::getScale() const {
  switch (m_options.units) {
    case 0: return 0.001;
    case 1: return 0.01;
    case 2: return 1.0;
    case 3: return 0.0394;
    default: return std::atof(m_options.scaleText);
  }
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCALE, m_scaleEdit);
  DDX_Radio(pDX, IDC_MILLIMETER, m_options.units);
  DDX_Text(pDX, IDC_SCALE, m_options.scaleText);
  DDX_Check(pDX, IDC_UCS, m_options.ucsTransform);
  DDX_Radio(pDX, IDC_VRML1, m_options.version);
}

BOOL COptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(messageText(50));
  for (const ControlText& t : kTexts)
    if (CWnd* control = GetDlgItem(t.control)) control->SetWindowText(messageText(t.message));
  m_scaleEdit.EnableWindow(FALSE);
  return TRUE;  // the focus goes to OK, the first control with a tab stop
}

void COptionsDlg::OnOK() {
  UpdateData(TRUE);
  if (m_options.units == kOtherUnits && !usableScale(std::atof(m_options.scaleText))) {
    MessageBox("Scale factor must be > 0", "Error", MB_ICONEXCLAMATION);
    GotoDlgCtrl(&m_scaleEdit);
    return;
  }
  EndDialog(IDOK);
}

void COptionsDlg::onFixedUnit() { m_scaleEdit.EnableWindow(FALSE); }

void COptionsDlg::onOtherUnit() { m_scaleEdit.EnableWindow(TRUE); }
