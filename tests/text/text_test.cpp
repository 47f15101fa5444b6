#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextTest, CountsAndCutsByCharactersNotBytes) {
  struct Row {
    std::string text;
    std::size_t count;
  } rows[] = {{"", 0}, {"abc", 3}, {"苹果", 2}, {"a苹b", 3}, {"\xFF\xFE", 2}, {"\xE8\x8B", 1}};
  for (const auto& row : rows) EXPECT_EQ(text::CharCount(row.text), row.count) << row.text;
  EXPECT_EQ(text::CharOffset("一心一意", 2), 6u);
  EXPECT_EQ(text::CharOffset("ab", 5), 2u);
}

}  // namespace
