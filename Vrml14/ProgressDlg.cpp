// The progress window of the export loop.
#include "ProgressDlg.h"

#include "message.h"
#include "res/resource.h"

namespace {

// The bar's bounds are 16-bit words.
constexpr int kBarMaximum = 0xFFFF;

}  // namespace

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* parent)
    : m_pParent(parent), m_nTemplate(IDD_PROGRESS), m_nConverted(0), m_nIgnored(0), m_bCancelled(0),
      m_nPerStep(1), m_nSteps(0) {}

CProgressDlg::~CProgressDlg() = default;

BOOL CProgressDlg::Create() { return CDialog::Create(m_nTemplate, m_pParent); }

void CProgressDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_PROGRESS, m_progress);
  DDX_Text(pDX, IDC_CONVERTED, m_strConverted);
  DDX_Text(pDX, IDC_IGNORED, m_strIgnored);
}

BOOL CProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(messageText(IDS_PROGRESS_CAPTION));
  SetDlgItemText(IDCANCEL, messageText(IDS_PROGRESS_CANCEL));
  m_strIgnored.Format(messageText(IDS_PROGRESS_IGNORED), m_nIgnored);
  m_strConverted.Format(messageText(IDS_PROGRESS_CONVERTED), m_nConverted);
  UpdateData(FALSE);
  return TRUE;
}

void CProgressDlg::OnCancel() {
  m_bCancelled = 1;
  DestroyWindow();
}

int CProgressDlg::isCancelled() const { return m_bCancelled == 1 ? 1 : 0; }

void CProgressDlg::setRange(int count) {
  // Beyond the bar's bounds one step of the bar stands for several entities,
  // so that the bar still runs from empty to full once instead of wrapping.
  m_nPerStep = count > kBarMaximum ? count / kBarMaximum + (count % kBarMaximum != 0) : 1;
  m_nSteps = 0;
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, count / m_nPerStep));
  m_progress.SendMessage(PBM_SETSTEP, 1);
}

void CProgressDlg::step() {
  ++m_nSteps;
  if (m_bCancelled) return;
  if (m_nSteps % m_nPerStep == 0) m_progress.SendMessage(PBM_STEPIT);
  UpdateData(FALSE);
}

void CProgressDlg::addIgnored() {
  ++m_nIgnored;
  m_strIgnored.Format(messageText(IDS_PROGRESS_IGNORED), m_nIgnored);
  if (!m_bCancelled) UpdateData(FALSE);
}

void CProgressDlg::addConverted() {
  ++m_nConverted;
  m_strConverted.Format(messageText(IDS_PROGRESS_CONVERTED), m_nConverted);
  if (!m_bCancelled) UpdateData(FALSE);
}
