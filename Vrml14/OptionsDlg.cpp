// The options dialog: drawing unit and scale, UCS choice, VRML version.
#include "OptionsDlg.h"

#include <cfloat>
#include <cstdlib>
#include <cstring>

#include "control_texts.h"
#include "message.h"
#include "res/resource.h"
#include "wrl_number.h"

namespace {

// Controls whose texts come from the catalogue, with their messages.
const ControlText kTexts[] = {
    {IDC_UNITS_GROUP, IDS_OPT_UNITS_GROUP},
    {IDC_MILLIMETER, IDS_OPT_MILLIMETER},
    {IDC_CENTIMETER, IDS_OPT_CENTIMETER},
    {IDC_METER, IDS_OPT_METER},
    {IDC_INCH, IDS_OPT_INCH},
    {IDC_OTHER, IDS_OPT_OTHER},
    {IDC_UCS_GROUP, IDS_OPT_UCS_GROUP},
    {IDC_UCS, IDS_OPT_UCS},
    {IDOK, IDS_OPT_OK},
    {IDCANCEL, IDS_OPT_CANCEL},
    {IDC_VERSION_GROUP, IDS_OPT_VERSION_GROUP},
    {IDC_VRML1, IDS_OPT_VRML1},
    {IDC_VRML2, IDS_OPT_VRML2},
};

// A scale every reader can use: finite, within single precision (the
// readers' number type) and not so small that the world file says 0.000000.
bool usableScale(double scale) {
  if (!(scale > 0.0 && scale <= FLT_MAX)) return false;  // NaN fails too
  char printed[wrl_number::kMaxFixedChars];
  char* end = wrl_number::fixed6(printed, scale);
  return std::strspn(printed, "0.") != static_cast<size_t>(end - printed);
}

// Exchanges a radio group with a field whose values are the positions of
// its buttons.
template <typename Choice>
void exchangeRadio(CDataExchange* pDX, int firstButton, Choice& choice) {
  int position = static_cast<int>(choice);
  DDX_Radio(pDX, firstButton, position);
  choice = static_cast<Choice>(position);
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
    case WrlUnits::kMillimeter: return 0.001;
    case WrlUnits::kCentimeter: return 0.01;
    case WrlUnits::kMeter: return 1.0;
    // Inches per millimetre, not metres per inch (0.0254): the factor this
    // button has always written, kept so that worlds exported with it keep
    // their size. The exact inch is typed into the Other box.
    case WrlUnits::kInch: return 0.0394;
    default: return std::atof(m_options.scaleText);
  }
}

WrlVersion COptionsDlg::getVersion() const {
  return m_options.version == WrlVersionButton::kVrml2 ? WrlVersion::k2 : WrlVersion::k1;
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCALE, m_scaleEdit);
  exchangeRadio(pDX, IDC_MILLIMETER, m_options.units);
  DDX_Text(pDX, IDC_SCALE, m_options.scaleText);
  DDX_Check(pDX, IDC_UCS, m_options.ucsTransform);
  exchangeRadio(pDX, IDC_VRML1, m_options.version);
}

BOOL COptionsDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(messageText(IDS_OPT_CAPTION));
  showControlTexts(*this, kTexts);
  m_scaleEdit.EnableWindow(FALSE);
  return TRUE;  // the focus goes to OK, the first control with a tab stop
}

void COptionsDlg::OnOK() {
  UpdateData(TRUE);
  if (m_options.units == WrlUnits::kOther && !usableScale(std::atof(m_options.scaleText))) {
    MessageBox("Scale factor must be > 0", "Error", MB_ICONEXCLAMATION);
    GotoDlgCtrl(&m_scaleEdit);
    return;
  }
  EndDialog(IDOK);
}

void COptionsDlg::onFixedUnit() { m_scaleEdit.EnableWindow(FALSE); }

void COptionsDlg::onOtherUnit() { m_scaleEdit.EnableWindow(TRUE); }
