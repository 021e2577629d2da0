// The properties dialog: texts from the catalogue, trackbars of 0..100.
#include "PropDialog.h"

#include <cmath>

#include "control_texts.h"
#include "message.h"
#include "res/resource.h"

namespace {

// Controls whose texts come from the catalogue, with their messages.
const ControlText kTexts[] = {
    {IDC_URL_GROUP, IDS_PROP_URL_GROUP},
    {IDC_URL_LABEL, IDS_PROP_URL_LABEL},
    {IDC_DESCRIPTION_LABEL, IDS_PROP_DESCRIPTION_LABEL},
    {IDC_MATERIAL_GROUP, IDS_PROP_MATERIAL_GROUP},
    {IDC_USE_ACAD_COLOR, IDS_PROP_USE_ACAD_COLOR},
    {IDC_SHININESS_LABEL, IDS_PROP_SHININESS_LABEL},
    {IDC_TRANSPARENCY_LABEL, IDS_PROP_TRANSPARENCY_LABEL},
    {IDOK, IDS_PROP_OK},
    {IDCANCEL, IDS_PROP_CANCEL},
};

constexpr int kMaxTextChars = 250;
constexpr int kSteps = 100;
constexpr int kTickEvery = 10;

// The nearest position: a value stored from position n opens at n again.
int positionOf(double value) { return static_cast<int>(std::lround(value * kSteps)); }

void prepareTrackbar(CSliderCtrl& trackbar) {
  trackbar.SetRangeMin(0, FALSE);
  trackbar.SetRangeMax(kSteps, FALSE);
  trackbar.SetTicFreq(kTickEvery);
}

// The value of a trackbar at OK; untouched, the value it opened with.
double valueAt(const CSliderCtrl& trackbar, int shown, double opened) {
  int position = trackbar.GetPos();
  return position == shown ? opened : position / static_cast<double>(kSteps);
}

}  // namespace

BEGIN_MESSAGE_MAP(CPropDialog, CDialog)
END_MESSAGE_MAP()

CPropDialog::CPropDialog(CWnd* parent) : CDialog(IDD_VRML_PROPERTIES, parent) {}

CPropDialog::~CPropDialog() = default;

void CPropDialog::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_URL, m_url);
  DDV_MaxChars(pDX, m_url, kMaxTextChars);
  DDX_Text(pDX, IDC_DESCRIPTION, m_description);
  DDV_MaxChars(pDX, m_description, kMaxTextChars);
  DDX_Control(pDX, IDC_TRANSPARENCY, m_transparencyCtrl);
  DDX_Control(pDX, IDC_SHININESS, m_shininessCtrl);
  DDX_Check(pDX, IDC_USE_ACAD_COLOR, m_useAcadColor);
}

BOOL CPropDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(messageText(IDS_PROP_CAPTION));
  showControlTexts(*this, kTexts);
  m_shownTransparency = positionOf(m_transparency);
  m_shownShininess = positionOf(m_shininess);
  prepareTrackbar(m_transparencyCtrl);
  prepareTrackbar(m_shininessCtrl);
  m_transparencyCtrl.SetPos(m_shownTransparency);
  m_shininessCtrl.SetPos(m_shownShininess);
  return TRUE;  // the dialog manager places the focus
}

void CPropDialog::OnOK() {
  UpdateData(TRUE);
  m_transparency = valueAt(m_transparencyCtrl, m_shownTransparency, m_transparency);
  m_shininess = valueAt(m_shininessCtrl, m_shownShininess, m_shininess);
  CDialog::OnOK();
}
