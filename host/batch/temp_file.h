// Short-lived files the batch front hands to other programs.
#pragma once
#include <string>

// Writes `text` to a new file in /tmp whose name ends in `suffix`; its path,
// or "" when it cannot be written. The caller removes it.
std::string writeTempFile(const std::string& text, const std::string& suffix);
