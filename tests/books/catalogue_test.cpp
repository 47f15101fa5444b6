// The fixed catalogue: its labels, counts and kinds, the dictionary's subset, the file paths
// and the user's data folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "kit/files.h"

namespace {

using books::BookCatalogue;
using books::BookKind;
using books::DictionaryCatalogue;

std::vector<std::string> Labels(std::span<const books::CatalogueEntry> catalogue) {
  std::vector<std::string> labels;
  for (const auto& e : catalogue) labels.emplace_back(e.label);
  return labels;
}

// The number in the label's last pair of parentheses.
int CountInLabel(std::string_view label) {
  std::size_t open = label.rfind('('), close = label.rfind(')');
  if (open == std::string_view::npos || close < open) return -1;
  return std::stoi(std::string(label.substr(open + 1, close - open - 1)));
}

TEST(Catalogue, HoldsTheFiftyFiveBooksFromOwnBookToIdioms) {
  auto catalogue = BookCatalogue();
  ASSERT_EQ(catalogue.size(), 55u);
  EXPECT_EQ(catalogue.front().label, "《My词库》");
  EXPECT_EQ(catalogue.front().kind, BookKind::OwnBook);
  EXPECT_EQ(catalogue.back().label, "《成语大全》(17508)");
  EXPECT_EQ(catalogue.back().kind, BookKind::IdiomBook);
  EXPECT_EQ(catalogue[1].label, "《小学英语》(第一册)(91)");
  EXPECT_EQ(catalogue[24].label, "《高考英语词汇手册》(3468)");
  EXPECT_EQ(catalogue[37].label, "《研究生英语入学考试大纲》(6489)");
  EXPECT_EQ(catalogue[48].label, "《Halvane英语》(第一册)(868)");
  EXPECT_EQ(catalogue[53].label, "《最新TOEFL词组》(941)");

  const auto labels = Labels(catalogue);
  EXPECT_EQ(std::set<std::string>(labels.begin(), labels.end()).size(), 55u) << "labels repeat";
  for (std::size_t i = 1; i + 1 < catalogue.size(); ++i) {
    EXPECT_EQ(catalogue[i].kind, BookKind::CatalogueBook) << catalogue[i].label;
    EXPECT_EQ(catalogue[i].word_count, CountInLabel(catalogue[i].label)) << catalogue[i].label;
  }
  EXPECT_EQ(catalogue.back().word_count, 17508);
}

TEST(Catalogue, DictionaryOffersTwelveBooksInItsOwnOrder) {
  const std::vector<std::string> expected = {
      "《My词库》",
      "《高考英语词汇手册》(3468)",
      "《大学英语1-4级词汇》(上)(2303)",
      "《大学英语1-4级词汇》(下)(2312)",
      "《大学英语1-4级词组》(1773)",
      "《大学英语5-6级词汇》(2090)",
      "《大学英语5-6级词组》(372)",
      "《同等学历申硕英语统考大纲》(6271)",
      "《研究生英语入学考试大纲》(6489)",
      "《计算机常用词汇》(4070)",
      "《计算机常用词组》(2382)",
      "《成语大全》(17508)",
  };
  EXPECT_EQ(Labels(DictionaryCatalogue()), expected);
  for (const auto& e : DictionaryCatalogue()) {
    const auto* full = books::FindEntry(BookCatalogue(), e.label);
    ASSERT_NE(full, nullptr) << e.label;
    EXPECT_EQ(e.word_count, full->word_count) << e.label;
    EXPECT_EQ(e.kind, full->kind) << e.label;
  }
}

TEST(Catalogue, WordCountsComeOnlyFromExactLabels) {
  struct Row {
    std::string_view label;
    std::optional<int> count;
  } rows[] = {
      {"《My词库》", 30000},
      {"《高中英语》(第三册)(579)", 579},
      {"《高中英语》(第三册)选修(525)", 525},
      {"新版《小学英语》(第一册)(200)", 200},
      {"新版《小学英语》(第二册)(200)", 200},
      {"《成语大全》(17508)", 17508},
      {"", std::nullopt},                            // nothing selected
      {"《my词库》", std::nullopt},                  // case counts
      {"《成语大全》(17508) ", std::nullopt},        // so does a space
      {"《小学英语》（第一册）(91)", std::nullopt},  // full-width parentheses are other text
  };
  for (const Row& r : rows)
    EXPECT_EQ(books::WordCountForLabel(BookCatalogue(), r.label), r.count) << r.label;
  EXPECT_EQ(books::WordCountForLabel(DictionaryCatalogue(), "《小学英语》(第一册)(91)"),
            std::nullopt)
      << "the dictionary offers no school textbook";
}

TEST(Catalogue, BookFilePathsFollowTheKindOfBook) {
  auto path = [](std::string_view label) {
    return books::BookFilePath("/prog", *books::FindEntry(BookCatalogue(), label));
  };
  EXPECT_EQ(path("《My词库》"), "/prog/《My词库》.txt");
  EXPECT_EQ(path("《成语大全》(17508)"), "/prog/Study/《成语大全》.txt");
  EXPECT_EQ(path("《小学英语》(第一册)(91)"), "/prog/Study/《小学英语》(第一册)(91)");
  EXPECT_NE(path("新版《小学英语》(第一册)(200)"), path("新版《小学英语》(第二册)(200)"));
  EXPECT_NE(path("《高中英语》(第三册)(579)"), path("《高中英语》(第三册)选修(525)"));
}

#ifdef _WIN32
TEST(Catalogue, UserDataFolderIsVantleInTheRoamingApplicationData) {
  const char* app_data = std::getenv("APPDATA");
  ASSERT_NE(app_data, nullptr);
  EXPECT_EQ(books::UserDataDirectory(), std::string(app_data) + "\\Vantle");
}
#else
TEST(Catalogue, UserDataFolderFollowsXdgDataHomeThenHome) {
  struct Row {
    const char *data_home, *home, *expected;
  } rows[] = {
      {"/data", "/home/li", "/data/vantle"},
      {nullptr, "/home/li", "/home/li/.local/share/vantle"},
      {"", "/home/li", "/home/li/.local/share/vantle"},
      {"relative/data", "/home/li", "/home/li/.local/share/vantle"},
      {nullptr, nullptr, ""},
      {nullptr, "not/absolute", ""},
  };
  for (const Row& r : rows) {
    kit::ScopedEnv data_home("XDG_DATA_HOME", r.data_home);
    kit::ScopedEnv home("HOME", r.home);
    EXPECT_EQ(books::UserDataDirectory(), r.expected)
        << (r.data_home ? r.data_home : "(unset)") << " " << (r.home ? r.home : "(unset)");
  }
}
#endif

}  // namespace
