// What went wrong in a batch export, in one line, from the host's transcript.
#pragma once
#include <string>
#include <vector>

// "" when the export ran through; else the reason: the drawing could not be
// opened (the reader's message), the selection found nothing, the world file
// could not be created (with the system's reason) or written.
std::string exportFailure(const std::string& transcript, int hostStatus, const std::string& drawing,
                          const std::string& output, const std::vector<std::string>& selection);
