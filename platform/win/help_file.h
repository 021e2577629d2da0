// Help files: a title and numbered topics, in a line-based text format:
//
//   # comment
//   title Example Help
//   topic 10 1 vrmlout Exporting objects      (number, level, keyword, title)
//   Text of the topic, as many lines as it takes; a line "." stands for an
//   empty line.
//
// The table of contents lists the topics in file order, indented by level.
#pragma once
#include <string>
#include <vector>

#include "support/status.h"

namespace win::help {

struct Topic {
  int number = 0;
  int level = 1;
  std::string keyword;
  std::string title;
  std::vector<std::string> lines;
};

struct HelpFile {
  std::string title;
  std::vector<Topic> topics;
};

// The help file, or a failure naming the file (and line) when it cannot be
// read or is malformed.
support::Result<HelpFile> readHelpFile(const std::string& path);

// The table of contents as the viewer prints it.
std::string contentsText(const HelpFile& help);
// One topic: its title underlined, then its text.
std::string topicText(const Topic& topic);

}  // namespace win::help
