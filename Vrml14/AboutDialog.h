// The about box: everything it shows is in its dialog template.
#pragma once
#include "afxwin.h"

class CAboutDialog : public CDialog {
 public:
  explicit CAboutDialog(CWnd* parent = nullptr);
};
