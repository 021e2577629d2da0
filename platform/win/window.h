// The platform's windows: a tree of dialogs and controls made from templates,
// with the state each control keeps and its answers to messages. Handles are
// checked on every use, so a stale one is refused instead of followed.
#pragma once
#include <string>
#include <vector>

#include "rcdata.h"
#include "windef.h"

class CWnd;

enum class ControlKind {
  Dialog,
  PushButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Static,
  Icon,
  Edit,
  Trackbar,
  Progress,
  Other
};

struct HWND__ {
  ControlKind kind = ControlKind::Other;
  int id = 0;
  std::string windowClass;
  std::string text;
  uint32_t style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  bool enabled = true;
  bool visible = false;
  HWND__* parent = nullptr;
  std::vector<HWND__*> children;  // template order = tab order
  CWnd* object = nullptr;         // the framework object bound to it
  CWnd* wrapper = nullptr;        // owned by the platform when no object is bound
  HWND__* focus = nullptr;        // for a dialog: its focused control
  bool modal = false;
  bool ended = false;  // a modal dialog's EndDialog ran
  int result = 0;

  // Control state.
  int check = 0;                                                      // buttons: BST_*
  int limit = 0x7FFFFFFE;                                             // edits: EM_LIMITTEXT
  int rangeMin = 0, rangeMax = 100, pos = 0, step = 10, ticFreq = 1;  // bars
};

namespace win {

bool isLive(HWND window);
// Builds a dialog and its controls from a template (hidden until shown).
HWND createDialog(const RcDialog& dialogTemplate, HWND parent);
// Destroys a window and its children; tells bound objects. No-op if stale.
void destroy(HWND window);
// The dialog's controls in template order.
const std::vector<HWND>& controls(HWND dialog);
HWND findControl(HWND dialog, int id);
LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A button click as a person makes it: automatic check boxes toggle,
// automatic radio buttons take the group's check, then the parent is told.
void click(HWND control);
// The radio buttons of the group that `first` belongs to.
std::vector<HWND> radioGroup(HWND control);
// Focus of the dialog that holds `control`.
void setFocus(HWND control);
bool canTakeFocus(HWND control);
// Text of a button or label without the access-key marks.
std::string plainCaption(const std::string& text);
// The access key of a caption ('&x' gives 'x'), 0 when none.
char accessKey(const std::string& text);
// The host's main window, the parent of the module's dialogs.
HWND mainWindow();
// Every live top-level dialog, oldest first.
std::vector<HWND> dialogs();
// Called whenever something visible changed (presentations redraw).
void noteChanged(HWND window);

}  // namespace win
