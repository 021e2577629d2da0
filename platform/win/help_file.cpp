// Parsing and laying out help files.
#include "win/help_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace win::help {

support::Result<HelpFile> readHelpFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return support::Status::failure("cannot open help file \"" + path + "\"");
  HelpFile help;
  std::string text;
  for (int number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!text.empty() && text[0] == '#') continue;
    std::istringstream line(text);
    std::string keyword;
    line >> keyword;
    if (keyword == "title") {
      std::getline(line >> std::ws, help.title);
    } else if (keyword == "topic") {
      Topic topic;
      if (!(line >> topic.number >> topic.level >> topic.keyword) || topic.level < 1 ||
          !std::getline(line >> std::ws, topic.title))
        return support::Status::failure(path + ":" + std::to_string(number) +
                                        ": expected: topic NUMBER LEVEL KEYWORD TITLE");
      help.topics.push_back(topic);
    } else if (!help.topics.empty()) {
      help.topics.back().lines.push_back(text == "." ? "" : text);
    } else if (!keyword.empty()) {
      return support::Status::failure(path + ":" + std::to_string(number) + ": text before the first topic");
    }
  }
  if (help.topics.empty()) return support::Status::failure(path + ": no topics");
  return help;
}

std::string contentsText(const HelpFile& help) {
  std::string out = "\n" + help.title + " - Contents\n";
  size_t width = 1;
  for (const Topic& topic : help.topics) width = std::max(width, std::to_string(topic.number).size());
  for (const Topic& topic : help.topics) {
    std::string number = std::to_string(topic.number);
    out += std::string(2 * topic.level + width - number.size(), ' ') + number + "  " + topic.title + "\n";
  }
  return out;
}

std::string topicText(const Topic& topic) {
  std::string out = "\n" + topic.title + "\n" + std::string(topic.title.size(), '=') + "\n";
  for (const std::string& line : topic.lines) out += line + "\n";
  return out;
}

}  // namespace win::help
