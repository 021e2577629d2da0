// Every drawing of the corpus opens, and saving it unchanged gives back the
// same tags: text files line for line (group codes compared as numbers),
// binary files byte for byte.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "drawing_file.h"
#include "support/corpus.h"
#include "support/files.h"
#include "support/scratch_dir.h"
#include "support/status_matchers.h"

namespace {

struct TextTag {
  long code;
  std::string value;
  bool operator==(const TextTag&) const = default;
};

// The tags of a text drawing up to EOF, read independently of the reader
// under test: codes as numbers, values as the exact line text.
std::vector<TextTag> textTags(std::string_view data) {
  std::vector<TextTag> tags;
  if (data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
  auto line = [&data]() {
    size_t end = data.find('\n');
    std::string_view text = data.substr(0, end);
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    return std::string(text);
  };
  while (!data.empty()) {
    long code = std::strtol(line().c_str(), nullptr, 10);
    tags.push_back({code, line()});
    if (code == 0 && tags.back().value == "EOF") break;
  }
  return tags;
}

std::string upToEof(const std::string& binary) {
  size_t eof = binary.rfind(std::string("EOF\0", 4));
  return eof == std::string::npos ? binary : binary.substr(0, eof + 4);
}

class CorpusRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusRoundTrip, SavedUnchangedGivesTheSameTags) {
  const std::string original = test_support::corpusFile(GetParam());
  ASSERT_THAT(dxf::open(original), test_support::Succeeds());
  test_support::ScratchDir scratch;
  const std::string saved = scratch.file("saved.dxf");
  ASSERT_THAT(dxf::save(saved), test_support::Succeeds());
  EXPECT_EQ(dxf::currentPath(), saved);
  if (!dxf::openNotice().empty()) {
    // A drawing repaired on opening gains what the repair adds (the reliability
    // round trip compares those tags); saved, it needs no repair again.
    ASSERT_THAT(dxf::open(saved), test_support::Succeeds());
    EXPECT_EQ(dxf::openNotice(), "");
    return;
  }

  std::string before = test_support::readFile(original), after = test_support::readFile(saved);
  if (before.rfind("AutoCAD Binary DXF", 0) == 0) {
    EXPECT_TRUE(upToEof(before) == after) << "binary saved as binary, byte for byte";
  } else {
    std::vector<TextTag> expected = textTags(before), actual = textTags(after);
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i)
      ASSERT_EQ(expected[i], actual[i]) << "tag " << i << " (code " << expected[i].code << ")";
  }
  ASSERT_THAT(dxf::open(saved), test_support::Succeeds()) << "the saved file opens again: ";
}

std::vector<std::string> corpusNames() {
  std::vector<std::string> names;
  for (const auto& drawing : test_support::corpusDrawings()) names.push_back(drawing.filename().string());
  return names;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.substr(0, info.param.size() - 4);
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

TEST(Corpus, IsThere) {
  SKIP_WITHOUT_CORPUS();
  EXPECT_GE(corpusNames().size(), 30u) << test_support::corpusDir();
}

// Without the corpus there is nothing to instantiate; Corpus.IsThere says why.
INSTANTIATE_TEST_SUITE_P(Corpus, CorpusRoundTrip, ::testing::ValuesIn(corpusNames()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(CorpusRoundTrip);

}  // namespace
