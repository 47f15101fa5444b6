// Loading a book in the match window: the group list that follows a good load, and the
// message and program end that follow a bad one.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "books/book_files.h"
#include "books/loader.h"
#include "kit/kit.h"
#include "match/round.h"
#include "program/program.h"

namespace {

class LoadingTest : public ::testing::Test {
 protected:
  LoadingTest() {
    platform_.program_directory = dir_.Str();
    StartAgain();
  }

  // A new run of the program, on the match window's book list.
  void StartAgain() {
    program_.emplace(platform_, random_);
    program_->Start();
    ui_.emplace(program_->Shell().Find(shell::Mode::Match)->Window());
  }

  // Selects `label` in the book list and presses "选书"; true when the program ended.
  bool Choose(std::string_view label) {
    const int row = kit::RowOf(ui_->BookList(), label);
    EXPECT_GE(row, 0) << label;
    ui_->BookList().SetListIndex(row);
    return kit::Ends([&] { ui_->ChooseBookButton().Click(); });
  }

  // Deals group `group` of the loaded book with cell b showing text b, and returns the
  // captions; then goes back to the book list.
  std::vector<std::string> Deal(int group) {
    for (int cell = 0; cell < match::kCells; ++cell) random_.PushIndex(cell, match::kCells);
    random_.PushIndex(0, 20);
    ui_->GroupList().SetListIndex(group);
    ui_->ChooseGroupButton().Click();
    std::vector<std::string> captions;
    for (int cell = 0; cell < match::kCells; ++cell) captions.push_back(ui_->Cell(cell).Caption());
    ui_->ChangeBookButton().Click();
    return captions;
  }
  // How many records the last group of the loaded book deals.
  int LastGroupRecords() {
    const std::vector<std::string> captions = Deal(ui_->GroupList().ListCount() - 1);
    return static_cast<int>(std::count_if(captions.begin(), captions.end(),
                                          [](const std::string& c) { return !c.empty(); })) /
           2;
  }

  void WriteStudy(const std::string& name, const std::string& bytes) {
    kit::WriteFile(dir_.Path() / "Study" / name, bytes);
  }

  static std::vector<std::string> Numbers(int last) {
    std::vector<std::string> items;
    for (int i = 0; i <= last; ++i) items.push_back(std::to_string(i));
    return items;
  }

  kit::TempDir dir_;
  kit::FakePlatform platform_;
  kit::ScriptedRandom random_;
  std::optional<program::Program> program_;
  std::optional<kit::Controls> ui_;
};

TEST_F(LoadingTest, GroupListHasOneItemPerStartedGroupOfEighteen) {
  struct Row {
    int records, last_group;
  } rows[] = {{2, 1}, {17, 1}, {18, 1}, {19, 2}, {36, 2}, {37, 3}, {30000, 1667}};
  for (const Row& r : rows) {
    kit::WriteFile(dir_.Path() / "《My词库》.txt", book_files::OwnBook(r.records));
    ASSERT_FALSE(Choose(books::kOwnBookLabel)) << r.records;
    EXPECT_EQ(ui_->GroupList().Items(), Numbers(r.last_group)) << r.records;
    EXPECT_EQ(ui_->GroupList().ListIndex(), -1) << "no group is selected";
    EXPECT_TRUE(ui_->GroupList().Visible());
    EXPECT_FALSE(ui_->BookList().Visible());
    EXPECT_EQ(LastGroupRecords(), (r.records - 1) % 18 + 1) << r.records;
  }
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(LoadingTest, IdiomBookGivesGroupsUpTo973) {
  WriteStudy("《成语大全》.txt", book_files::IdiomBook(17508));
  ASSERT_FALSE(Choose(books::kIdiomBookLabel));
  EXPECT_EQ(ui_->GroupList().Items(), Numbers(973));
  EXPECT_EQ(17508 % 18, 12) << "the last group holds twelve records";
}

TEST_F(LoadingTest, CatalogueBookLoadsFromStudyUnderItsLabel) {
  WriteStudy("新版《小学英语》(第二册)(200)", book_files::CatalogueBook(200));
  ASSERT_FALSE(Choose("新版《小学英语》(第二册)(200)"));
  EXPECT_EQ(ui_->GroupList().ListCount(), 13);
  EXPECT_EQ(Deal(12)[2], book_files::English(200)) << "records 199 and 200";
  // Its twin with the same count is another file, which is missing here.
  EXPECT_TRUE(Choose("新版《小学英语》(第一册)(200)"));
}

TEST_F(LoadingTest, BadBooksShowTheirMessageAndEndTheProgramWithoutFarewell) {
  struct Row {
    const char* what;
    std::string_view label;
    std::string file, bytes;
    std::string message;  // empty: only its start, the label, is fixed
  } rows[] = {
      {"count short by one", "《小学英语》(第一册)(91)", "Study/《小学英语》(第一册)(91)",
       book_files::CatalogueBook(90), "词库已损坏\r\n请重新解压"},
      {"one record too many", "《小学英语》(第一册)(91)", "Study/《小学英语》(第一册)(91)",
       book_files::CatalogueBook(92), "词库已损坏\r\n请重新解压"},
      {"own book too large", books::kOwnBookLabel, "《My词库》.txt", book_files::OwnBook(30001),
       "《My词库》词数过多\r\n请调整《My词库》"},
      {"ends inside a record", books::kOwnBookLabel, "《My词库》.txt", "a\r\nA\r\nb\r\n", ""},
      {"missing", "《大学英语精读》(预一)(803)", "", "", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    kit::TempDir dir;
    platform_.program_directory = dir.Str();
    platform_.messages.clear();
    if (!r.file.empty()) kit::WriteFile(dir.Path() / r.file, r.bytes);
    StartAgain();
    EXPECT_TRUE(Choose(r.label));
    EXPECT_TRUE(platform_.ended);
    ASSERT_EQ(platform_.messages.size(), 1u) << "no farewell follows";
    if (!r.message.empty())
      EXPECT_EQ(platform_.messages[0], r.message);
    else
      EXPECT_NE(platform_.messages[0].find(r.label), std::string::npos) << platform_.messages[0];
  }
}

TEST_F(LoadingTest, OwnBookIsTheUsersCopyWhenThereIsOneElseTheOneBesideTheProgram) {
  const std::string beside = dir_.Str() + "/《My词库》.txt";
  kit::WriteFile(beside, book_files::OwnBook(5));
  struct Row {
    const char* what;
    bool has_user_folder;
    std::optional<std::string> user_copy;  // none: no file in the user's folder
    int loaded;                            // records; 0: refused
    std::string message;                   // before the line naming the user's copy
  } rows[] = {
      {"the user's copy is read", true, book_files::OwnBook(3), 3, ""},
      {"no copy: the book beside the program", true, std::nullopt, 5, ""},
      {"no user folder at all", false, std::nullopt, 5, ""},
      {"a damaged copy is refused, not passed over", true, "a\r\nA\r\nb\r\n", 0,
       "《My词库》第 2 个词条缺少中文释义（文件在第 3 行结束）\r\n请调整《My词库》"},
      {"the cap holds for the copy", true, book_files::OwnBook(30001), 0,
       "《My词库》词数过多\r\n请调整《My词库》"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    kit::TempDir user;
    const std::string copy = user.Str() + "/《My词库》.txt";
    platform_.user_data_directory = r.has_user_folder ? user.Str() : "";
    if (r.user_copy) kit::WriteFile(copy, *r.user_copy);
    platform_.messages.clear();
    StartAgain();
    const bool ended = Choose(books::kOwnBookLabel);
    EXPECT_EQ(ended, r.loaded == 0);
    if (r.loaded > 0) {
      EXPECT_EQ(LastGroupRecords(), r.loaded);
      EXPECT_TRUE(platform_.messages.empty());
    } else {
      EXPECT_EQ(platform_.messages,
                std::vector<std::string>{r.message + "\r\n请检查文件：" + copy});
    }
  }
}

TEST_F(LoadingTest, NothingSelectedIsADamagedCatalogue) {
  EXPECT_TRUE(kit::Ends([&] { ui_->ChooseBookButton().Click(); }));
  EXPECT_EQ(platform_.messages, (std::vector<std::string>{"词库已损坏\r\n请重新解压"}));
}

}  // namespace
