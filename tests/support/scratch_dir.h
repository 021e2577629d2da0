// A fresh folder for the files one test writes, removed with everything in it
// when the test ends.
#pragma once
#include <string>

namespace test_support {

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // `name` inside the folder.
  std::string file(const std::string& name) const { return m_path + "/" + name; }
  // Empty when the folder could not be made.
  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace test_support
