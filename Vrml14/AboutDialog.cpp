// The about box on template 129.
#include "AboutDialog.h"

#include "res/resource.h"

CAboutDialog::CAboutDialog(CWnd* parent) : CDialog(IDD_ABOUTBOX, parent) {}
