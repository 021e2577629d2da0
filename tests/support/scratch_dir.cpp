#include "support/scratch_dir.h"

#include <stdlib.h>

#include <filesystem>

namespace test_support {

ScratchDir::ScratchDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vrmltest-XXXXXX").string();
  if (::mkdtemp(pattern.data())) m_path = pattern;
}

ScratchDir::~ScratchDir() {
  if (m_path.empty()) return;
  // A test may have taken away the owner's rights to see a refusal.
  std::error_code ignored;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(m_path, ignored);
}

}  // namespace test_support
