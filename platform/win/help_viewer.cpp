// The help viewer in the terminal: prints a help file's table of contents or
// one topic to the transcript. A person at the terminal may then read topics
// by number; a script only gets the table printed.
#include <strings.h>

#include <cstdio>
#include <cstdlib>

#include "support/command_line.h"
#include "win/help_file.h"
#include "winuser.h"

namespace {

using support::commandLine;
using win::help::HelpFile;
using win::help::Topic;

const Topic* topicByNumber(const HelpFile& help, long number) {
  for (const Topic& topic : help.topics)
    if (topic.number == number) return &topic;
  return nullptr;
}

const Topic* topicByKey(const HelpFile& help, const char* key) {
  const char* wanted = key ? key : "";
  for (const Topic& topic : help.topics)
    if (strcasecmp(topic.keyword.c_str(), wanted) == 0 || strcasecmp(topic.title.c_str(), wanted) == 0) return &topic;
  return nullptr;
}

void browse(const HelpFile& help) {
  commandLine->write(win::help::contentsText(help));
  if (!commandLine->interactive()) return;
  std::string answer;
  while (commandLine->readLine("Topic number (Enter to close): ", answer) && !answer.empty()) {
    char* end = nullptr;
    long number = std::strtol(answer.c_str(), &end, 10);
    const Topic* topic = *end == '\0' ? topicByNumber(help, number) : nullptr;
    commandLine->write(topic ? win::help::topicText(*topic) : "No such topic.\n");
  }
}

}  // namespace

extern "C" BOOL WinHelpA(HWND, LPCSTR helpFile, UINT command, uintptr_t data) {
  if (command == HELP_QUIT) return TRUE;
  if (!helpFile) return FALSE;
  support::Result<HelpFile> read = win::help::readHelpFile(helpFile);
  if (!read.ok()) {
    commandLine->write("\nHelp: " + read.status().message() + ".");
    return FALSE;
  }
  const HelpFile& help = read.value();
  const Topic* topic = nullptr;
  switch (command) {
    case HELP_FINDER:
    case HELP_CONTENTS: browse(help); return TRUE;
    case HELP_CONTEXT: topic = topicByNumber(help, static_cast<long>(data)); break;
    case HELP_KEY: topic = topicByKey(help, reinterpret_cast<const char*>(data)); break;
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "\nHelp: command 0x%X is not supported.", command);
      commandLine->write(text);
      return FALSE;
    }
  }
  if (!topic) {
    commandLine->write("\nHelp: no such topic in \"" + std::string(helpFile) + "\".");
    return FALSE;
  }
  commandLine->write(win::help::topicText(*topic));
  return TRUE;
}
