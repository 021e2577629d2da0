// Dialogs driven by script lines.
#include "ui/scripted.h"

#include <strings.h>

#include <charconv>
#include <map>
#include <sstream>
#include <vector>

#include "afxwin.h"
#include "support/command_line.h"
#include "ui/snapshot.h"

namespace ui::scripted {
namespace {

using support::commandLine;

struct Scheduled {
  long atPump;
  std::string action;
};

struct Shown {
  std::vector<std::string> lines;   // what was last echoed
  std::vector<Scheduled> schedule;  // modeless dialogs only
  long pumps = 0;
};

std::map<HWND, Shown>& shown() {
  static std::map<HWND, Shown> map;
  return map;
}

// The actions scheduled on all shown dialogs: a long command pumps for every
// entity, and mostly none is due.
size_t g_scheduledActions = 0;

// Forgets a shown dialog, its schedule with it.
void forget(HWND dialog) {
  auto it = shown().find(dialog);
  if (it == shown().end()) return;
  g_scheduledActions -= it->second.schedule.size();
  shown().erase(it);
}

void echo(const std::string& line) { commandLine->write("\n" + line); }

const char* const kActionPrompt = "\n> ";

void echoOpened(HWND dialog) {
  Shown& s = shown()[dialog];
  s.lines = snapshot(dialog);
  echo(dialogTitleLine(dialog));
  for (const std::string& line : s.lines) echo(line);
}

// Echoes the controls whose lines changed since the last echo.
void echoChanges(HWND dialog) {
  auto it = shown().find(dialog);
  if (it == shown().end() || !win::isLive(dialog)) return;
  std::vector<std::string> now = snapshot(dialog);
  for (size_t i = 0; i < now.size(); ++i)
    if (i >= it->second.lines.size() || it->second.lines[i] != now[i]) echo(now[i]);
  it->second.lines = now;
}

bool parseNumber(const std::string& text, long& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

// A control by its id or by its caption (with or without the '&' marks).
HWND findByName(HWND dialog, const std::string& name) {
  long id;
  if (parseNumber(name, id)) return win::findControl(dialog, static_cast<int>(id));
  for (HWND c : win::controls(dialog))
    if (strcasecmp(c->text.c_str(), name.c_str()) == 0 ||
        strcasecmp(win::plainCaption(c->text).c_str(), name.c_str()) == 0)
      return c;
  return nullptr;
}

// Splits at the first blank; `text` may be one of the outputs.
void splitFirst(std::string text, std::string& first, std::string& rest) {
  size_t space = text.find(' ');
  rest = space == std::string::npos ? "" : text.substr(space + 1);
  first = text.substr(0, space);
}

// Splits at the last blank, so that a caption of several words may come before
// the value.
void splitLast(const std::string& text, std::string& most, std::string& last) {
  size_t space = text.rfind(' ');
  last = space == std::string::npos ? "" : text.substr(space + 1);
  most = text.substr(0, space);
}

bool usable(HWND control, const std::string& name, std::string& refusal) {
  if (!control) {
    refusal = "no control " + name;
    return false;
  }
  if (!control->enabled || !control->visible) {
    refusal = "control " + name + " is disabled";
    return false;
  }
  return true;
}

int g_refused = 0;

// A line the dialog cannot carry out: echoed, and counted for the batch run.
void refuse(const std::string& refusal) {
  ++g_refused;
  echo("? " + refusal);
}

}  // namespace

int refusedCount() { return g_refused; }

bool perform(HWND dialog, const std::string& line, std::string& refusal) {
  std::string verb, rest;
  splitFirst(line, verb, rest);
  for (char& ch : verb) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (verb == "ok" || verb == "cancel") {
    int id = verb == "ok" ? IDOK : IDCANCEL;
    HWND button = win::findControl(dialog, id);
    if (button && !button->enabled) return usable(button, verb, refusal);
    win::send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
  }
  if (verb == "click") {
    HWND c = findByName(dialog, rest);
    if (!usable(c, rest, refusal)) return false;
    win::click(c);
    return true;
  }
  // A typed text may hold blanks; a check or slide value is one word.
  std::string name, value;
  if (verb == "type") splitFirst(rest, name, value);
  else splitLast(rest, name, value);
  HWND c = findByName(dialog, name);
  if (verb == "type") {
    if (!usable(c, name, refusal)) return false;
    if (c->kind != ControlKind::Edit) return refusal = "control " + name + " is no edit box", false;
    // Typing stops at the box's limit.
    win::send(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.substr(0, static_cast<size_t>(c->limit)).c_str()));
    return true;
  }
  if (verb == "check") {
    if (!usable(c, name, refusal)) return false;
    bool on = strcasecmp(value.c_str(), "on") == 0;
    if (!on && strcasecmp(value.c_str(), "off") != 0) return refusal = "check needs on or off", false;
    if (c->kind != ControlKind::CheckBox && c->kind != ControlKind::RadioButton)
      return refusal = "control " + name + " is no check box", false;
    if (c->kind == ControlKind::RadioButton && !on)
      return refusal = "a radio button is cleared by choosing another", false;
    if ((c->check == BST_CHECKED) != on) win::click(c);
    return true;
  }
  if (verb == "slide") {
    long pos;
    if (!usable(c, name, refusal)) return false;
    if (c->kind != ControlKind::Trackbar) return refusal = "control " + name + " is no slider", false;
    if (!parseNumber(value, pos)) return refusal = "slide needs a number", false;
    win::send(c, TBM_SETPOS, TRUE, pos);
    return true;
  }
  refusal = "unknown dialog action: " + line;
  return false;
}

void runModal(HWND dialog) {
  echoOpened(dialog);
  std::string line;
  while (win::isLive(dialog) && !dialog->ended) {
    if (!commandLine->readLine(kActionPrompt, line)) {
      win::send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
      if (win::isLive(dialog) && !dialog->ended) dialog->ended = true, dialog->result = IDCANCEL;
      break;
    }
    std::string refusal;
    if (!line.empty() && !perform(dialog, line, refusal)) refuse(refusal);
    echoChanges(dialog);
  }
  if (win::isLive(dialog)) {
    echo("Dialog " + std::to_string(dialog->id) + " closed: " + resultName(dialog->result));
    forget(dialog);
  }
}

void modelessShown(HWND dialog) {
  echoOpened(dialog);
  std::string line;
  Shown& s = shown()[dialog];
  while (commandLine->peekLine(line) && line.rfind("at ", 0) == 0) {
    commandLine->readLine(kActionPrompt, line);
    std::string at, count, action;
    splitFirst(line, at, count);
    splitFirst(count, count, action);
    long n;
    if (parseNumber(count, n) && n > 0 && !action.empty()) s.schedule.push_back({n, action}), ++g_scheduledActions;
    else refuse("bad schedule line: " + line);
  }
}

void closing(HWND dialog) {
  auto it = shown().find(dialog);
  if (it == shown().end()) return;
  echoChanges(dialog);
  echo("Dialog " + std::to_string(dialog->id) + " closed");
  forget(dialog);
}

int messageBox(const std::string& text, const std::string& caption, UINT type) {
  echo(messageBoxLine(text, caption, type));
  return defaultButton(type);
}

void pumpMessages() {
  if (g_scheduledActions == 0) return;
  std::vector<HWND> due;
  for (auto& [dialog, s] : shown())
    if (!s.schedule.empty()) due.push_back(dialog);
  for (HWND dialog : due) {
    auto it = shown().find(dialog);
    if (it == shown().end() || !win::isLive(dialog)) continue;
    long pump = ++it->second.pumps;
    std::vector<std::string> actions;
    auto& schedule = it->second.schedule;
    for (auto s = schedule.begin(); s != schedule.end();) {
      if (s->atPump == pump) actions.push_back(s->action), s = schedule.erase(s), --g_scheduledActions;
      else ++s;
    }
    for (const std::string& action : actions) {
      if (!win::isLive(dialog)) break;
      echo("at " + std::to_string(pump) + " " + action);
      std::string refusal;
      if (!perform(dialog, action, refusal)) refuse(refusal);
      echoChanges(dialog);
    }
  }
}

}  // namespace ui::scripted
