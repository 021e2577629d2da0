// A dialog's control captions, taken from the message catalogue so that the
// texts live in one place with every other message.
#pragma once

#include <cstddef>

#include "afxwin.h"
#include "message.h"

struct ControlText {
  int control;
  int message;
};

template <std::size_t N>
void showControlTexts(CWnd& dialog, const ControlText (&texts)[N]) {
  for (const ControlText& t : texts)
    if (CWnd* control = dialog.GetDlgItem(t.control)) control->SetWindowText(messageText(t.message));
}
