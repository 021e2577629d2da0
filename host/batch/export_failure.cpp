#include "export_failure.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

// The line holding `at`.
std::string lineAt(const std::string& transcript, size_t at) {
  size_t start = transcript.rfind('\n', at);
  start = start == std::string::npos ? 0 : start + 1;
  return transcript.substr(start, transcript.find('\n', at) - start);
}

// Why the system would refuse to create `output`.
std::string creationProblem(const std::string& output) {
  std::filesystem::path folder = std::filesystem::path(output).parent_path();
  if (folder.empty()) folder = ".";
  struct stat info {};
  int error = 0;
  if (stat(folder.c_str(), &info) != 0) error = errno;
  else if (!S_ISDIR(info.st_mode)) error = ENOTDIR;
  else if (stat(output.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) error = EISDIR;
  else if (access(folder.c_str(), W_OK) != 0) error = errno;
  return error ? std::string(": ") + std::strerror(error) : "";
}

std::string selectionText(const std::vector<std::string>& selection) {
  if (selection.size() == 1 && selection[0].size() > 2 && (selection[0][0] == 'L' || selection[0][0] == 'l') &&
      selection[0][1] == '=')
    return "no objects on layer " + selection[0].substr(2);
  if (selection.size() == 1 && (selection[0] == "ALL" || selection[0] == "all")) return "the drawing has no objects";
  std::string answers;
  for (const std::string& answer : selection) answers += (answers.empty() ? "" : " ") + answer;
  return "no objects selected by " + answers;
}

}  // namespace

std::string exportFailure(const std::string& transcript, int hostStatus, const std::string& drawing,
                          const std::string& output, const std::vector<std::string>& selection) {
  if (hostStatus < 0) return "cannot run arxhost beside vrmlout";
  // The host stops before its first prompt when the drawing cannot be read.
  if (transcript.find("Command:") == std::string::npos) {
    size_t end = transcript.find_last_not_of("\n ");
    std::string line = end == std::string::npos ? "" : lineAt(transcript, end);
    if (line.starts_with(drawing + ": ")) line.erase(0, drawing.size() + 2);
    return line.empty() ? "arxhost ended with status " + std::to_string(hostStatus) : line;
  }
  if (transcript.find("Cannot create output file.") != std::string::npos)
    return "cannot create " + output + creationProblem(output);
  if (transcript.find("Error while creating VRML file.") != std::string::npos)
    return "Error while creating VRML file. (" + output + " is incomplete)";
  if (size_t at = transcript.find("\nUnable to load "); at != std::string::npos) return lineAt(transcript, at + 1);
  if (transcript.find("\nDialog 140 ") == std::string::npos) return selectionText(selection);
  if (hostStatus != 0) return "the export did not finish (--verbose shows the host's transcript)";
  return "";
}
