// Dialogs as text.
#include "ui/snapshot.h"

#include "afxwin.h"

namespace ui {
namespace {

const char* kindName(const HWND__& c) {
  switch (c.kind) {
    case ControlKind::PushButton: return "button";
    case ControlKind::CheckBox: return "check";
    case ControlKind::RadioButton: return "radio";
    case ControlKind::GroupBox: return "group";
    case ControlKind::Static: return "static";
    case ControlKind::Icon: return "icon";
    case ControlKind::Edit: return "edit";
    case ControlKind::Trackbar: return "slider";
    case ControlKind::Progress: return "progress";
    default: return "control";
  }
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '\n') out += "\\n";
    else if (ch == '"' || ch == '\\') out += std::string("\\") + ch;
    else out.push_back(ch);
  }
  return out + "\"";
}

}  // namespace

std::string dialogTitleLine(HWND dialog) { return "Dialog " + std::to_string(dialog->id) + " " + quoted(dialog->text); }

std::string controlLine(HWND c) {
  std::string line = "  " + std::to_string(c->id) + " " + kindName(*c);
  if (c->kind != ControlKind::Trackbar && c->kind != ControlKind::Progress) line += " " + quoted(c->text);
  switch (c->kind) {
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      line += c->check == BST_CHECKED ? " [x]" : c->check == BST_UNCHECKED ? " [ ]" : " [-]";
      break;
    case ControlKind::Trackbar:
    case ControlKind::Progress:
      line += " " + std::to_string(c->pos) + " (" + std::to_string(c->rangeMin) + ".." + std::to_string(c->rangeMax) +
              ")";
      break;
    default: break;
  }
  if (c->kind == ControlKind::PushButton && (c->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) line += " default";
  if (!c->enabled) line += " disabled";
  if (!c->visible) line += " hidden";
  if (c->parent && c->parent->focus == c) line += " focus";
  return line;
}

std::vector<std::string> snapshot(HWND dialog) {
  std::vector<std::string> lines;
  for (HWND c : win::controls(dialog)) lines.push_back(controlLine(c));
  return lines;
}

std::string resultName(int result) {
  if (result == IDOK) return "OK";
  if (result == IDCANCEL) return "Cancel";
  return std::to_string(result);
}

std::vector<int> messageBoxButtons(UINT type) {
  std::vector<int> buttons;
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: buttons = {IDOK, IDCANCEL}; break;
    case MB_ABORTRETRYIGNORE: buttons = {IDABORT, IDRETRY, IDIGNORE}; break;
    case MB_YESNOCANCEL: buttons = {IDYES, IDNO, IDCANCEL}; break;
    case MB_YESNO: buttons = {IDYES, IDNO}; break;
    case MB_RETRYCANCEL: buttons = {IDRETRY, IDCANCEL}; break;
    default: buttons = {IDOK}; break;
  }
  return buttons;
}

int defaultButton(UINT type) {
  std::vector<int> buttons = messageBoxButtons(type);
  return (type & MB_DEFBUTTON2) && buttons.size() > 1 ? buttons[1] : buttons[0];
}

std::string buttonName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
    case IDYES: return "Yes";
    case IDNO: return "No";
    default: return std::to_string(id);
  }
}

std::string messageBoxLine(const std::string& text, const std::string& caption, UINT type) {
  std::string icon;
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: icon = " (stop)"; break;
    case MB_ICONQUESTION: icon = " (?)"; break;
    case MB_ICONEXCLAMATION: icon = " (!)"; break;
    case MB_ICONASTERISK: icon = " (i)"; break;
    default: break;
  }
  std::string line = "Message box " + quoted(caption) + icon + ": " + quoted(text);
  for (int id : messageBoxButtons(type)) line += " [" + buttonName(id) + "]";
  return line;
}

}  // namespace ui
