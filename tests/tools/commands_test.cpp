// vantle-book as its users meet it: arguments, output, exit codes and files.
#include "booktool/commands.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "kit/kit.h"

namespace {

namespace fs = std::filesystem;
using booktool::kExitGood;
using booktool::kExitRefused;
using booktool::kExitUsage;

std::string Read(const fs::path& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

class ToolTest : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return booktool::RunBookTool(args, out_, err_);
  }
  std::string Out() const { return out_.str(); }
  std::string Err() const { return err_.str(); }
  std::string P(const std::string& name) const { return (dir_.Path() / name).string(); }
  // Files in the folder, hidden ones (temporary files) included.
  int FileCount() const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir_.Path()), {}));
  }

  kit::TempDir dir_;
  std::ostringstream out_, err_;
};

TEST_F(ToolTest, BadUsageExitsWithTwoAndHelpWithZero) {
  struct Row {
    std::vector<std::string> args;
    int status;
    const char* says;  // in standard output for 0, in standard error otherwise
  } rows[] = {
      {{}, kExitUsage, "usage: vantle-book check"},
      {{"--help"}, kExitGood, "usage: vantle-book check"},
      {{"check", "--help"}, kExitGood, "Warns, without refusing"},
      {{"dump", "-h"}, kExitGood, "english<TAB>chinese"},
      {{"convert", "--help"}, kExitGood, "--force"},
      {{"frobnicate"}, kExitUsage, "unknown command frobnicate"},
      {{"check"}, kExitUsage, "too few files"},
      {{"dump", "a", "b", "--label", "《My词库》"}, kExitUsage, "too many files"},
      {{"convert", "in.tsv"}, kExitUsage, "too few files"},
      {{"check", "--verbose", "x"}, kExitUsage, "unknown option --verbose"},
      {{"dump", "x", "--force", "--label", "《My词库》"}, kExitUsage, "unknown option --force"},
      {{"check", "x", "--label"}, kExitUsage, "--label needs a label"},
      {{"check", "words.txt"}, kExitUsage, "give the book with --label"},
      {{"check", "x", "--label", "《我的词库》"}, kExitUsage, "no label of the catalogue"},
      {{"convert", "in.tsv", "out.txt"}, kExitUsage, "give the book with --label"},
      {{"where", "--help"}, kExitGood, "Study/ and Pic/"},
      {{"where", "x"}, kExitUsage, "too many files"},
      {{"convert", "in.tsv", "out.txt", "--own"}, kExitUsage, "too many files"},
      {{"convert", "in.tsv", "--own", "--label", "《My词库》"}, kExitUsage, "takes no --label"},
      {{"check", "x", "--own"}, kExitUsage, "unknown option --own"},
  };
  for (const Row& r : rows) {
    std::string line;
    for (const auto& a : r.args) line += a + " ";
    EXPECT_EQ(Run(r.args), r.status) << line;
    const std::string text = r.status == kExitGood ? Out() : Err();
    EXPECT_NE(text.find(r.says), std::string::npos) << line << "\n" << text;
  }
}

TEST_F(ToolTest, CheckSaysOkOrWhatIsWrongForEachFile) {
  kit::WriteFile(P("《My词库》.txt"), kit::GbkLines({"apple", "苹果", "pear", "梨"}));
  kit::WriteFile(P("damaged"), kit::GbkLines({"apple", "苹果", "`pple"}));
  EXPECT_EQ(Run({"check", P("《My词库》.txt")}), kExitGood);
  EXPECT_EQ(Out(), P("《My词库》.txt") + ": OK, 2 records (read as GBK)\n");

  EXPECT_EQ(Run({"check", P("《My词库》.txt"), P("damaged"), "--label", "《My词库》"}),
            kExitRefused);
  EXPECT_NE(Out().find(P("《My词库》.txt") + ": OK, 2 records"), std::string::npos) << Out();
  EXPECT_NE(Out().find(P("damaged") + ": refused: line 3, record 2: the file ends inside a record"),
            std::string::npos)
      << Out();
  EXPECT_NE(Out().find(": the program shows \"《My词库》第 2 个词条缺少中文释义"),
            std::string::npos)
      << Out();

  // A catalogue book one record short: the program's own message.
  kit::WriteFile(P("《小学英语》(第一册)(91)"), kit::GbkLines({"a", "一", "a", "二"}));
  EXPECT_EQ(Run({"check", P("《小学英语》(第一册)(91)")}), kExitRefused);
  EXPECT_NE(Out().find("expected 91, found 2"), std::string::npos) << Out();
  EXPECT_NE(Out().find("the program shows \"词库已损坏\" / \"请重新解压\" and ends"),
            std::string::npos)
      << Out();

  EXPECT_EQ(Run({"check", P("missing"), "--label=《My词库》"}), kExitRefused);
  EXPECT_NE(Out().find("cannot be opened"), std::string::npos) << Out();
}

TEST_F(ToolTest, CheckShowsAtMostTwentyWarningsOfAKind) {
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) {
    lines.push_back("same");
    lines.push_back("第" + std::to_string(i) + "义");
  }
  kit::WriteFile(P("《My词库》.txt"), kit::GbkLines(lines));
  EXPECT_EQ(Run({"check", P("《My词库》.txt")}), kExitGood) << "warnings refuse nothing";
  EXPECT_NE(Out().find("... and 8 more warnings of this kind"), std::string::npos) << Out();
}

TEST_F(ToolTest, DumpPrintsRecordsAsTheProgramHoldsThem) {
  std::string bytes =
      "a\\b\tc\r\n" + kit::Gbk("苹果01 1") + "\r\n`pple\r\n" + kit::Gbk("梨") + "\r\n";
  kit::WriteFile(P("《小学英语》(第一册)(91)"), bytes);
  EXPECT_EQ(Run({"dump", P("《小学英语》(第一册)(91)"), "--label", "《My词库》"}), kExitGood);
  EXPECT_EQ(Out(), "a\\\\b\\tc\t苹果\n`pple\t梨\n");
  EXPECT_EQ(Run({"dump", P("《小学英语》(第一册)(91)"), "--label", "《初中英语》(第一册)(304)"}),
            kExitRefused);
  EXPECT_EQ(Out(), "");
  EXPECT_NE(Err().find("expected 304, found 2"), std::string::npos) << Err();

  kit::WriteFile(P("《成语大全》.txt"), kit::GbkLines({"一心一意", "好"}));
  EXPECT_EQ(Run({"dump", P("《成语大全》.txt"), "--label", "《成语大全》(17508)"}), kExitRefused);
}

TEST_F(ToolTest, ConvertWritesABookThatDumpsBackToTheList) {
  const std::string list = "apple\t苹果\nback\\\\slash\t反\\t斜\n丂\t第一行\n苹果\t苹果\n";
  kit::WriteFile(P("words.tsv"), list);
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("book"), "--label", "《My词库》"}), kExitGood)
      << Err();
  EXPECT_NE(Out().find("wrote 4 records of 《My词库》 in GBK"), std::string::npos) << Out();
  EXPECT_EQ(Run({"dump", P("book"), "--label", "《My词库》"}), kExitGood);
  EXPECT_EQ(Out(), list);
  EXPECT_EQ(FileCount(), 2) << "no temporary file stays behind";
}

TEST_F(ToolTest, ConvertNeverReplacesAFileWithoutForce) {
  kit::WriteFile(P("words.tsv"), "apple\t苹果\npear\t梨\n");
  kit::WriteFile(P("《My词库》.txt"), "keep me");
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("exists already; give --force"), std::string::npos) << Err();
  EXPECT_EQ(Read(P("《My词库》.txt")), "keep me");

  EXPECT_EQ(Run({"convert", P("words.tsv"), P("《My词库》.txt"), "--force"}), kExitGood) << Err();
  EXPECT_EQ(Read(P("《My词库》.txt")), kit::GbkLines({"apple", "苹果", "pear", "梨"}));
  EXPECT_EQ(FileCount(), 2);
}

TEST_F(ToolTest, ConvertRefusesBadListsWithTheLineAndWritesNothing) {
  std::string ninety_one;
  for (int i = 1; i <= 91; ++i)
    ninety_one.append(i == 40 ? "" : kit::Numbered("w", i))
        .append(kit::Numbered("\t第", i, "义\n"));
  struct Row {
    const char* what;
    std::string list;
    std::string target;
    const char* says;
  } rows[] = {
      {"no GBK code", "apple\t苹果\nsmile\t😀\n", "《My词库》.txt", "words.tsv:2: refused"},
      {"count of a catalogue label", "a\t一\nb\t二\n", "《小学英语》(第一册)(91)",
       "2 records, but 《小学英语》(第一册)(91) holds exactly 91 records"},
      {"empty English to lower", ninety_one, "《小学英语》(第一册)(91)",
       "words.tsv:40: refused: empty English entry"},
      {"no tab", "a\t一\nb 二\n", "《My词库》.txt", "words.tsv:2: refused: no tab"},
  };
  for (const Row& r : rows) {
    kit::WriteFile(P("words.tsv"), r.list);
    EXPECT_EQ(Run({"convert", P("words.tsv"), P(r.target)}), kExitRefused) << r.what;
    EXPECT_NE(Err().find(r.says), std::string::npos) << r.what << ": " << Err();
    EXPECT_FALSE(fs::exists(P(r.target))) << r.what;
    EXPECT_EQ(FileCount(), 1) << r.what;
  }
  EXPECT_EQ(Run({"convert", P("missing.tsv"), P("《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("cannot be read"), std::string::npos) << Err();
  kit::WriteFile(P("words.tsv"), "apple\t苹果\npear\t梨\n");
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("no/such/folder/《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("cannot create a file"), std::string::npos) << Err();
}

TEST_F(ToolTest, ConvertOwnWritesTheUsersCopyThatWhereNames) {
  const std::string copy = P("data/vantle/《My词库》.txt");
  kit::ScopedEnv data_home("XDG_DATA_HOME", P("data").c_str());
  kit::WriteFile(P("words.tsv"), "apple\t苹果\npear\t梨\n");
  EXPECT_EQ(Run({"where"}), kExitGood);
  EXPECT_NE(Out().find("\nuser's own book: " + copy + "\n"), std::string::npos) << Out();
  EXPECT_EQ(Out().find("\nown book: " + copy), std::string::npos) << "no copy yet: " << Out();

  EXPECT_EQ(Run({"convert", P("words.tsv"), "--own"}), kExitGood) << Err();
  EXPECT_EQ(Read(copy), kit::GbkLines({"apple", "苹果", "pear", "梨"}));
  EXPECT_EQ(Run({"where"}), kExitGood);
  EXPECT_NE(Out().find("\nown book: " + copy + "\n"), std::string::npos) << Out();

  kit::WriteFile(P("words.tsv"), "cat\t猫\ndog\t狗\n");
  EXPECT_EQ(Run({"convert", P("words.tsv"), "--own"}), kExitRefused);
  EXPECT_NE(Err().find("give --force"), std::string::npos) << Err();
  EXPECT_EQ(Run({"convert", P("words.tsv"), "--own", "--force"}), kExitGood) << Err();
  EXPECT_EQ(Read(copy), kit::GbkLines({"cat", "猫", "dog", "狗"}));

  kit::ScopedEnv no_data_home("XDG_DATA_HOME", nullptr);
  kit::ScopedEnv no_home("HOME", nullptr);
  EXPECT_EQ(Run({"convert", P("words.tsv"), "--own"}), kExitRefused);
  EXPECT_NE(Err().find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << Err();
}

TEST_F(ToolTest, TheProgramExitsWithTheStatusOfItsCommand) {
  kit::WriteFile(P("《My词库》.txt"), kit::GbkLines({"apple", "苹果", "pear", "梨"}));
  kit::WriteFile(P("bad"), "only one line");
  // Runs the tool with the arguments, its output going to "out".
  auto status = [&](const std::vector<std::string>& args, const std::string& tool) {
    std::string command = "'";
    command.append(tool).append("'");
    for (const std::string& a : args) command.append(" '").append(a).append("'");
    command.append(" >").append(P("out")).append(" 2>&1");
    int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(status({"check", P("《My词库》.txt")}, VANTLE_BOOK_TOOL), 0);
  EXPECT_EQ(status({"check", P("bad"), "--label", "《My词库》"}, VANTLE_BOOK_TOOL), 1);
  EXPECT_EQ(status({"check"}, VANTLE_BOOK_TOOL), 2);
  EXPECT_EQ(status({"--help"}, VANTLE_BOOK_TOOL), 0);

  // Started through a link elsewhere, as from an installed bin/, the tool still names the
  // folder it really lives in, the program's.
  fs::create_symlink(VANTLE_BOOK_TOOL, P("vantle-book"));
  const std::string folder = fs::path(VANTLE_BOOK_TOOL).parent_path().string();
  EXPECT_EQ(status({"where"}, P("vantle-book")), 0);
  EXPECT_NE(Read(P("out")).find("program folder: " + folder + "\n"), std::string::npos)
      << Read(P("out"));
  EXPECT_NE(Read(P("out")).find("Study/: " + folder + "/Study\n"), std::string::npos);
}

}  // namespace
