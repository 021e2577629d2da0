// Numbers in entity tags: the shortcut for plain whole numbers must read
// every text as the general conversion does, and refuse what it refuses.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "render/tag_reader.h"

namespace {

TEST(TagNumbers, IntegersReadAsTheGeneralConversionReadsThem) {
  for (const char* text : {"0", "64", " 192 ", "000000012", "999999999", "-3", "+7", "", " ", "1.5", "12a", "9999999999999"}) {
    int64_t ours = -1, general = -1;
    std::string_view view(text);
    while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
    while (!view.empty() && view.back() == ' ') view.remove_suffix(1);
    if (!view.empty() && view.front() == '+') view.remove_prefix(1);
    auto [end, error] = std::from_chars(view.data(), view.data() + view.size(), general);
    bool generalOk = error == std::errc() && end == view.data() + view.size();
    EXPECT_EQ(acre_detail::TagReader::parseInteger(text, ours), generalOk) << "'" << text << "'";
    if (generalOk) {
      EXPECT_EQ(ours, general) << "'" << text << "'";
    }
  }
}

}  // namespace
