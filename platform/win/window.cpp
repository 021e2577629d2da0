// Windows made from templates, and the controls' answers to messages.
#include "win/window.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

#include "afxwin.h"
#include "win/presentation.h"

namespace win {
namespace {

std::set<HWND>& liveWindows() {
  static std::set<HWND> set;
  return set;
}

// The window last found live, forgotten when it goes: an export sends its
// progress bar a message for every entity.
HWND g_lastLive = nullptr;

std::vector<HWND>& topLevel() {
  static std::vector<HWND> list;
  return list;
}

bool sameClass(const std::string& a, const char* b) { return strcasecmp(a.c_str(), b) == 0; }

ControlKind kindOf(const std::string& windowClass, uint32_t style) {
  if (sameClass(windowClass, "BUTTON")) {
    switch (style & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE: return ControlKind::CheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON: return ControlKind::RadioButton;
      case BS_GROUPBOX: return ControlKind::GroupBox;
      default: return ControlKind::PushButton;
    }
  }
  if (sameClass(windowClass, "STATIC"))
    return (style & SS_TYPEMASK) == SS_ICON ? ControlKind::Icon : ControlKind::Static;
  if (sameClass(windowClass, "EDIT")) return ControlKind::Edit;
  if (sameClass(windowClass, TRACKBAR_CLASSA)) return ControlKind::Trackbar;
  if (sameClass(windowClass, PROGRESS_CLASSA)) return ControlKind::Progress;
  return ControlKind::Other;
}

int clampPos(const HWND__& w, long pos) {
  return static_cast<int>(std::clamp<long>(pos, w.rangeMin, std::max(w.rangeMin, w.rangeMax)));
}

LRESULT textMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETTEXT:
      w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
      noteChanged(w);
      return TRUE;
    case WM_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      if (!buffer || wParam <= 0) return 0;
      size_t n = std::min<size_t>(w->text.size(), static_cast<size_t>(wParam) - 1);
      std::memcpy(buffer, w->text.data(), n);
      buffer[n] = '\0';
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    default: return 0;
  }
}

LRESULT buttonMessage(HWND w, UINT message, WPARAM wParam) {
  switch (message) {
    case BM_GETCHECK: return w->check;
    case BM_SETCHECK:
      if (w->kind == ControlKind::CheckBox || w->kind == ControlKind::RadioButton) {
        w->check = static_cast<int>(wParam);
        noteChanged(w);
      }
      return 0;
    case BM_CLICK: click(w); return 0;
    default: return 0;
  }
}

LRESULT trackbarMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case TBM_GETPOS: return w->pos;
    case TBM_GETRANGEMIN: return w->rangeMin;
    case TBM_GETRANGEMAX: return w->rangeMax;
    case TBM_SETPOS: w->pos = clampPos(*w, lParam); break;
    case TBM_SETRANGE:
      w->rangeMin = static_cast<int16_t>(LOWORD(lParam));
      w->rangeMax = static_cast<int16_t>(HIWORD(lParam));
      w->pos = clampPos(*w, w->pos);
      break;
    case TBM_SETRANGEMIN:
      w->rangeMin = static_cast<int>(lParam);
      w->pos = clampPos(*w, w->pos);
      break;
    case TBM_SETRANGEMAX:
      w->rangeMax = static_cast<int>(lParam);
      w->pos = clampPos(*w, w->pos);
      break;
    case TBM_SETTICFREQ: w->ticFreq = static_cast<int>(wParam); break;
    default: return 0;
  }
  noteChanged(w);
  return 0;
}

LRESULT progressMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT previous = w->pos;
  switch (message) {
    case PBM_SETRANGE:
      previous = MAKELONG(w->rangeMin, w->rangeMax);
      w->rangeMin = LOWORD(lParam);  // both bounds are 16 bits wide
      w->rangeMax = HIWORD(lParam);
      break;
    case PBM_SETRANGE32:
      previous = MAKELONG(w->rangeMin, w->rangeMax);
      w->rangeMin = static_cast<int>(wParam);
      w->rangeMax = static_cast<int>(lParam);
      break;
    case PBM_GETRANGE: return wParam ? w->rangeMin : w->rangeMax;
    case PBM_GETPOS: return w->pos;
    case PBM_SETSTEP:
      previous = w->step;
      w->step = static_cast<int>(wParam);
      return previous;
    case PBM_SETPOS: w->pos = static_cast<int>(wParam); break;
    case PBM_DELTAPOS: w->pos += static_cast<int>(wParam); break;
    case PBM_STEPIT: w->pos += w->step; break;
    default: return 0;
  }
  // Past the end the bar starts over, as the common control does.
  int span = w->rangeMax - w->rangeMin;
  if (span <= 0) w->pos = w->rangeMin;
  else if (w->pos > w->rangeMax) w->pos = w->rangeMin + (w->pos - w->rangeMin) % span;
  else if (w->pos < w->rangeMin) w->pos = w->rangeMin;
  noteChanged(w);
  return previous;
}

void destroyTree(HWND w) {
  for (HWND child : w->children) destroyTree(child);
  liveWindows().erase(w);
  if (g_lastLive == w) g_lastLive = nullptr;
  if (CWnd* object = w->object) {
    object->m_hWnd = nullptr;
    object->PostNcDestroy();
  }
  if (w->wrapper) w->wrapper->m_hWnd = nullptr;
  delete w->wrapper;
  delete w;
}

}  // namespace

bool isLive(HWND window) {
  if (window && window == g_lastLive) return true;
  if (!window || !liveWindows().count(window)) return false;
  g_lastLive = window;
  return true;
}

namespace {

// A new live window with the place and look a template gives it.
HWND newWindow(ControlKind kind, int id, const char* windowClass, const char* text, uint32_t style, int x, int y,
               int cx, int cy, HWND parent) {
  HWND w = new HWND__;
  w->kind = kind;
  w->id = id;
  w->windowClass = windowClass ? windowClass : "";
  w->text = text ? text : "";
  w->style = style;
  w->x = x;
  w->y = y;
  w->cx = cx;
  w->cy = cy;
  w->enabled = !(style & WS_DISABLED);
  w->visible = (style & WS_VISIBLE) != 0;
  w->parent = parent;
  liveWindows().insert(w);
  return w;
}

}  // namespace

HWND createDialog(const RcDialog& t, HWND parent) {
  HWND dialog = newWindow(ControlKind::Dialog, t.id, "#32770", t.caption, t.style, t.x, t.y, t.cx, t.cy,
                          isLive(parent) ? parent : nullptr);
  dialog->visible = false;  // until DoModal or Create shows it
  topLevel().push_back(dialog);
  for (size_t i = 0; i < t.controlCount; ++i) {
    const RcControl& c = t.controls[i];
    std::string windowClass = c.windowClass ? c.windowClass : "";
    dialog->children.push_back(
        newWindow(kindOf(windowClass, c.style), c.id, c.windowClass, c.text, c.style, c.x, c.y, c.cx, c.cy, dialog));
  }
  return dialog;
}

void destroy(HWND window) {
  if (!isLive(window)) return;
  if (window->kind == ControlKind::Dialog) presentation->closing(window);
  if (!isLive(window)) return;  // the presentation may not reenter, but be safe
  if (HWND parent = window->parent) {
    auto& siblings = parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    if (parent->focus == window) parent->focus = nullptr;
  }
  auto& tops = topLevel();
  tops.erase(std::remove(tops.begin(), tops.end(), window), tops.end());
  destroyTree(window);
}

const std::vector<HWND>& controls(HWND dialog) {
  static const std::vector<HWND> none;
  return isLive(dialog) ? dialog->children : none;
}

HWND findControl(HWND dialog, int id) {
  for (HWND c : controls(dialog))
    if (c->id == id) return c;
  return nullptr;
}

LRESULT send(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  // The window last found live is told inline: no call before the message's
  // own work, which then saves no registers.
  if (!(w && w == g_lastLive) && !isLive(w)) return 0;
  if (message == WM_SETTEXT || message == WM_GETTEXT || message == WM_GETTEXTLENGTH)
    return textMessage(w, message, wParam, lParam);
  switch (w->kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: return buttonMessage(w, message, wParam);
    case ControlKind::Edit:
      if (message == EM_LIMITTEXT) w->limit = wParam ? static_cast<int>(wParam) : 0x7FFFFFFE;
      return message == EM_GETLIMITTEXT ? w->limit : 0;
    case ControlKind::Trackbar: return trackbarMessage(w, message, wParam, lParam);
    case ControlKind::Progress: return progressMessage(w, message, wParam, lParam);
    case ControlKind::Dialog:
      if (message == WM_CLOSE) message = WM_COMMAND, wParam = IDCANCEL, lParam = 0;
      if (message == WM_COMMAND && w->object) return w->object->OnCommand(wParam, lParam);
      return 0;
    default: return 0;
  }
}

std::vector<HWND> radioGroup(HWND control) {
  std::vector<HWND> group;
  if (!isLive(control) || !control->parent) return group;
  const auto& all = control->parent->children;
  auto at = std::find(all.begin(), all.end(), control);
  auto first = at;
  while (first != all.begin() && !((*first)->style & WS_GROUP)) --first;
  for (auto it = first; it != all.end(); ++it) {
    if (it != first && ((*it)->style & WS_GROUP)) break;
    if ((*it)->kind == ControlKind::RadioButton) group.push_back(*it);
  }
  return group;
}

void click(HWND control) {
  if (!isLive(control) || !control->enabled || !control->visible) return;
  uint32_t type = control->style & BS_TYPEMASK;
  if (control->kind == ControlKind::CheckBox && (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)) {
    control->check = type == BS_AUTO3STATE ? (control->check + 1) % 3 : !control->check;
    noteChanged(control);
  } else if (control->kind == ControlKind::RadioButton && type == BS_AUTORADIOBUTTON) {
    for (HWND other : radioGroup(control)) {
      other->check = other == control ? BST_CHECKED : BST_UNCHECKED;
      noteChanged(other);
    }
  }
  if (control->kind == ControlKind::CheckBox || control->kind == ControlKind::RadioButton ||
      control->kind == ControlKind::PushButton)
    send(control->parent, WM_COMMAND, MAKEWPARAM(control->id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool canTakeFocus(HWND c) {
  if (!isLive(c) || !c->enabled || !c->visible) return false;
  switch (c->kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::Edit:
    case ControlKind::Trackbar: return true;
    default: return false;
  }
}

void setFocus(HWND control) {
  if (!isLive(control) || !control->parent) return;
  control->parent->focus = control;
  noteChanged(control->parent);
}

std::string plainCaption(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out.push_back(text[i]);
  }
  return out;
}

char accessKey(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
    ++i;
  }
  return 0;
}

std::vector<HWND> dialogs() { return topLevel(); }

HWND mainWindow() {
  static HWND window = newWindow(ControlKind::Other, 0, "AfxFrameOrView", "arxhost", WS_OVERLAPPED | WS_VISIBLE, 0, 0,
                                 0, 0, nullptr);
  return window;
}

void noteChanged(HWND window) { presentation->changed(window); }

}  // namespace win
