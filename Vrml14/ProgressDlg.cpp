// The progress window of the export loop.
#include "ProgressDlg.h"

#include "message.h"
#include "res/resource.h"

namespace {

// The bar's bounds are 16-bit words.
constexpr int kBarMaximum = 0xFFFF;

// Formatting the counts for every entity would cost more than faceting a
// simple one; nobody reads them faster than this.
constexpr auto kCountsInterval = std::chrono::milliseconds(30);

}  // namespace

BEGIN_MESSAGE_MAP(CProgressDlg, CDialog)
END_MESSAGE_MAP()

CProgressDlg::CProgressDlg(CWnd* parent)
    : m_pParent(parent), m_nTemplate(IDD_PROGRESS), m_nConverted(0), m_nIgnored(0), m_bCancelled(0), m_nPerStep(1),
      m_nSteps(0), m_nRange(0) {}

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
  showCounts();
  return TRUE;
}

void CProgressDlg::showCounts() {
  m_strIgnored.Format(messageText(IDS_PROGRESS_IGNORED), m_nIgnored);
  m_strConverted.Format(messageText(IDS_PROGRESS_CONVERTED), m_nConverted);
  UpdateData(FALSE);
  m_lastShown = std::chrono::steady_clock::now();
}

BOOL CProgressDlg::DestroyWindow() {
  if (GetSafeHwnd()) showCounts();
  return CDialog::DestroyWindow();
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
  m_nRange = count;
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, count / m_nPerStep));
  m_progress.SendMessage(PBM_SETSTEP, 1);
}

void CProgressDlg::step() {
  ++m_nSteps;
  if (m_bCancelled) return;
  if (m_nSteps % m_nPerStep == 0) m_progress.SendMessage(PBM_STEPIT);
  // The last entity shows the counts at once: the window ends as it stands.
  if (m_nSteps == m_nRange || std::chrono::steady_clock::now() - m_lastShown >= kCountsInterval) showCounts();
}

// Counted now, shown by the next step that is due, Cancel or the close.
void CProgressDlg::addIgnored() { ++m_nIgnored; }

void CProgressDlg::addConverted() { ++m_nConverted; }
