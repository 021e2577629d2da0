// Whole files as strings, byte for byte.
#pragma once
#include <string>

namespace test_support {

// The whole content of a file (empty when it cannot be read).
std::string readFile(const std::string& path);

void writeFile(const std::string& path, const std::string& bytes);

}  // namespace test_support
