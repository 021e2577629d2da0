// Message boxes, shown by the current presentation.
#include "afxwin.h"
#include "win/presentation.h"
#include "win/window.h"

extern "C" int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  return win::presentation->messageBox(owner, text ? text : "", caption ? caption : "Error", type);
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  return MessageBoxA(GetFocus() ? GetFocus()->parent : nullptr, text, AfxGetAppName(), type);
}
