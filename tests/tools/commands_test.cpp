// vantle-book as its users meet it: arguments, output, exit codes and files.
#include "booktool/tool.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <sstream>

#include <SQLiteCpp/SQLiteCpp.h>

#include <functional>
#include <map>

#include "books/loader.h"
#include "booktool/import.h"
#include "kit/files.h"
#include "progress/journal.h"

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
      {{"--help"}, kExitGood, "\n  export   writes a book as CSV"},
      {{"--help"}, kExitGood, "\n       vantle-book export BOOK [OUT]"},
      {{}, kExitUsage, "\n       vantle-book export BOOK [OUT]"},
      {{"import", "a.csv", "--columns", "2,2"}, kExitUsage, "gives one column for both sides"},
      {{"import", "a.csv", "--columns", "Word, word"}, kExitUsage, "one column for both sides"},
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
      {{"import", "--help"}, kExitGood, "--skip-bad leaves them out"},
      {{"import"}, kExitUsage, "no FILE"},
      {{"import", "a.csv", "b", "c"}, kExitUsage, "too many files"},
      {{"import", "a.csv", "--format", "xls"},
       kExitUsage,
       "--format takes csv, flashcards (or anki) or kvtml\n"},
      {{"import", "a.csv", "--columns=2"}, kExitUsage, "--columns takes two columns"},
      {{"import", "a.csv", "--columns", "1,2,3"}, kExitUsage, "--columns takes two columns"},
      {{"import", "a.csv", "《成语大全》.txt"}, kExitUsage, "the idiom book holds no pairs"},
      {{"import", "a.csv", "out", "--label", "《我的》"}, kExitUsage, "no label of the catalogue"},
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
  EXPECT_EQ(Run({"convert", "/dev/zero", P("《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("not a regular file"), std::string::npos) << Err();
  kit::WriteFile(P("words.tsv"), "apple\t苹果\npear\t梨\n");
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("no/such/folder/《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("cannot create a file"), std::string::npos) << Err();
}

TEST_F(ToolTest, ConvertNamesEveryBadLineInOneRun) {
  // Three faults of three kinds, each found by a different step.
  kit::WriteFile(P("words.tsv"), "apple\t苹果\nbad line\npear\t梨\nsmile\t😀\nfig\t无花果1\n");
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("《My词库》.txt")}), kExitRefused);
  const std::string err = Err();
  std::size_t at = 0;
  for (const char* says : {"words.tsv:2: refused: no tab", "words.tsv:4: refused: meaning",
                           "words.tsv:5: refused: meaning \"无花果1\" ends in 0, 1"}) {
    at = err.find(says, at);
    EXPECT_NE(at, std::string::npos) << says << " (in line order)\n" << err;
  }
  EXPECT_FALSE(fs::exists(P("《My词库》.txt")));

  // A long bad list: the first 100 faults by line, whichever step found them, then a count.
  std::string list;
  for (int i = 1; i <= 150; ++i) list += i % 2 ? "no tab\n" : "smile\t😀\n";
  kit::WriteFile(P("words.tsv"), list);
  EXPECT_EQ(Run({"convert", P("words.tsv"), P("《小学英语》(第一册)(91)")}), kExitRefused);
  std::istringstream lines(Err());
  std::string line;
  int shown = 0;
  while (std::getline(lines, line) &&
         line.find("words.tsv:" + std::to_string(shown + 1) + ": refused") != std::string::npos)
    ++shown;
  EXPECT_EQ(shown, 100) << Err();
  EXPECT_EQ(line, P("words.tsv") + ": refused: 50 more faults not shown");
  EXPECT_EQ(Err().find("holds exactly"), std::string::npos)
      << "the count is judged once every line reads";
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

// The records of a book as the program loads it.
Pairs Loaded(const std::string& path, const books::CatalogueEntry& entry) {
  books::WordBook book;
  const books::BookLoad loaded = books::ReadWordBook(path, entry, book);
  EXPECT_TRUE(loaded.Ok()) << path << ": " << loaded.Failed().reason;
  Pairs pairs;
  for (const books::Word& word : book.words) pairs.emplace_back(word.english, word.chinese);
  return pairs;
}

// A CSV list of n records "w1,第1义" and so on.
std::string CsvRows(int n) {
  std::string rows;
  for (int i = 1; i <= n; ++i)
    rows.append(kit::Numbered("w", i)).append(kit::Numbered(",第", i, "义\n"));
  return rows;
}

const std::string kKvtml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <identifiers>
    <identifier id="0"><name>English</name><locale>en</locale></identifier>
    <identifier id="7"><name>中文</name><locale>zh_CN</locale></identifier>
    <identifier id="2"><name>Deutsch</name><locale>de</locale></identifier>
  </identifiers>
  <entries>
    <entry id="0">
      <translation id="0"><text>apple</text>
        <comparison><comparative>appler</comparative></comparison></translation>
      <translation id="2"><text>Apfel</text></translation>
      <translation id="7"><text>
        苹果 &amp; 苹果树</text></translation>
    </entry>
    <entry id="1">
      <translation id="7"><text>梨</text></translation>
      <translation id="0"><text>pear</text></translation>
      <translation id="2"><text>Birne</text></translation>
    </entry>
  </entries>
</kvtml>
)";

TEST_F(ToolTest, ImportReadsEachFormatIntoABookTheProgramLoads) {
  const std::string long_meaning = "一二三四五六七八九十一二三四五六七八九十";
  struct Row {
    const char* what;
    std::string file;
    std::vector<std::string> options;
    Pairs book;
    std::vector<std::string> says;  // in standard output
  } rows[] = {
      {"CSV in UTF-8 with BOM",
       "\xEF\xBB\xBF"
       "English,Chinese\r\napple,苹果\r\n\"big, large\",\"大的; \"\"巨大\"\"\"\r\n"
       ",,\r\nsun,\"" +
           long_meaning + "\"\r\n",
       {},
       {{"apple", "苹果"}, {"big, large", "大的; \"巨大\""}, {"sun", long_meaning}},
       {"CSV in UTF-8 with BOM, separated by commas, header row skipped; English from column 1 "
        "\"English\", meanings from column 2 \"Chinese\"; 3 records",
        "wrote 3 records of 《My词库》",
        "record 3: meaning \"" + long_meaning + "\" needs 5 lines on a board button"}},
      {"CSV in GBK with semicolons and quoted line breaks, meaning column named",
       kit::Gbk("单词;词性;释义\r\nbook;n.;书,书本\r\n\"look\r\nup\";v.;\"查找\r\n"
                "查阅\r\n\"\r\nrun;v.;跑\r\n"),
       {},
       {{"book", "书,书本"}, {"look up", "查找 查阅"}, {"run", "跑"}},
       {"CSV in GBK, separated by semicolons, header row skipped; English from column 1 "
        "\"单词\", meanings from column 3 \"释义\"; 3 records"}},
      {"CSV without a header, columns by number, tab-separated",
       "苹果\tx\tapple\n梨\tx\tpear\n",
       {"--columns", "3,1"},
       {{"apple", "苹果"}, {"pear", "梨"}},
       {"separated by tabs; English from column 3, meanings from column 1"}},
      {"flash-card export with HTML and header lines",
       "#separator:tab\n#html:true\n#notetype column:1\n#columns:Type\tFront\tBack\tExtra\n"
       "#tags column:5\n"
       "Basic\t<b>apple</b>[sound:apple.mp3]\t<div>苹果</div><div>n.&nbsp;&#x82F9;&#26524;&amp;"
       "&lt;树&gt;</div><img src=\"apple.jpg\">\tignored\tfruit\n"
       "Basic\t\"ice<br/>cream\"\t冰<!-- note -->激凌&hellip;\t\t\n",
       {},
       {{"apple", "苹果 n. 苹果&<树>"}, {"ice cream", "冰激凌…"}},
       {"flash-card export in UTF-8, separated by tabs, HTML; English from column 2 \"Front\", "
        "meanings from column 3 \"Back\"; 2 records"}},
      {"CSV with commas between columns and semicolons inside meanings, Chinese column first",
       "释义,英文单词\nn.苹果;苹果树,apple\nn.梨;梨树,pear\n",
       {},
       {{"apple", "n.苹果;苹果树"}, {"pear", "n.梨;梨树"}},
       {"separated by commas, header row skipped; English from column 2 \"英文单词\", meanings "
        "from column 1 \"释义\""}},
      {"CSV naming its separator on a first line",
       "sep=;\r\nin spite of, despite;尽管\r\nas well as, too;也\r\n",
       {},
       {{"in spite of, despite", "尽管"}, {"as well as, too", "也"}},
       {"CSV in UTF-8, separated by semicolons; English from column 1, meanings from column 2"}},
      {"a flash-card export without header lines, named by --format",
       "<b>ice</b>\t冰<br>\n"
       "water\t水[sound:w.mp3]\n",
       {"--format", "anki"},
       {{"ice", "冰"}, {"water", "水"}},
       {"flash-card export in UTF-8, separated by tabs, HTML; English from column 1"}},
      {"KVTML with three languages: the first two",
       kKvtml,
       {},
       {{"apple", "苹果 & 苹果树"}, {"pear", "梨"}},
       {"KVTML; English from \"English\" (en), meanings from \"中文\" (zh_CN); 2 records"}},
      {"KVTML, languages by name and by locale",
       kKvtml,
       {"--columns", "Deutsch,zh"},
       {{"Apfel", "苹果 & 苹果树"}, {"Birne", "梨"}},
       {"English from \"Deutsch\" (de), meanings from \"中文\" (zh_CN)"}},
  };
  for (const Row& r : rows) {
    kit::WriteFile(P("list"), r.file);
    std::vector<std::string> args = {"import", P("list"), P("out.txt"), "--force"};
    args.insert(args.end(), r.options.begin(), r.options.end());
    EXPECT_EQ(Run(args), kExitGood) << r.what << ": " << Err();
    EXPECT_EQ(Loaded(P("out.txt"), books::BookCatalogue().front()), r.book) << r.what;
    for (const std::string& says : r.says)
      EXPECT_NE(Out().find(says), std::string::npos) << r.what << ": " << says << "\n" << Out();
    EXPECT_EQ(FileCount(), 2) << r.what << ": no temporary file stays behind";
  }
}

TEST_F(ToolTest, ImportRefusesBadRecordsWithTheirLinesAndWritesNothing) {
  struct Row {
    const char* what;
    std::string file;
    std::vector<std::string> args;  // OUT and options
    std::vector<std::string> says;  // in standard error
  } rows[] = {
      {"bad records of every kind",
       "en,zh\napple,苹果\n,空\npear,\nsmile,😀\none,一1\ntwo,二 \n\"multi\nline\",行0\n"
       "apple,苹果\nbad,\xFF\xFE\n",
       {"out.txt"},
       {"list:3: refused: empty English entry (meaning \"空\")",
        "list:4: refused: empty meaning (English entry \"pear\")",
        "list:5: refused: meaning \"😀\" holds \"😀\", which GBK cannot hold",
        "list:6: refused: meaning \"一1\" ends in 0, 1 or a space",
        "list:7: refused: meaning \"二 \" ends in 0, 1 or a space",
        "list:8: refused: meaning \"行0\" ends in 0, 1 or a space",
        "list:10: refused: the pair \"apple\" / \"苹果\" again (first on line 2)",
        "list:11: refused: meaning \"\xEF\xBF\xBD\xEF\xBF\xBD\" holds bytes that are neither UTF-8 "
        "nor GBK",
        "list: refused: 8 records no book can take (2 with an empty side, 2 with text GBK cannot "
        "hold, 3 with a meaning ending in 0, 1 or a space, 1 repeating a pair); nothing written. "
        "--skip-bad leaves them out, --dedupe drops repeated pairs"}},
      {"lines of a flash-card export count its header lines",
       "#separator:semicolon\n#html:true\na;<img src=\"a.png\">\nb;二\n",
       {"out.txt"},
       {"list:3: refused: empty meaning (English entry \"a\")"}},
      {"KVTML records are found by the line of their entry",
       "<kvtml version=\"2.0\">\n<identifiers><identifier id=\"0\"><locale>en</locale>"
       "</identifier><identifier id=\"1\"><locale>zh</locale></identifier>"
       "</identifiers>\n<entries>\n<entry id=\"0\"><translation id=\"0\"><text>a</text>"
       "</translation>\n</entry>\n</entries></kvtml>\n",
       {"out.txt"},
       {"list:4: refused: empty meaning (English entry \"a\")"}},
      {"more than 30000 records",
       CsvRows(30001),
       {"out.txt"},
       {"list:30001: refused: record 30001 is beyond the 30000 records the own book holds"}},
      {"more than a catalogue book holds",
       CsvRows(92),
       {"《小学英语》(第一册)(91)"},
       {"list:92: refused: record 92 is beyond the 91 records 《小学英语》(第一册)(91) holds"}},
      {"fewer than a catalogue book holds",
       "a,一\nb,二\n",
       {"《小学英语》(第一册)(91)"},
       {"list: refused: 2 records, but 《小学英语》(第一册)(91) holds exactly 91 records"}},
      {"a single record",
       "a,一\n",
       {"out.txt"},
       {"list: refused: 1 record: the own book holds from 2 to 30000 records"}},
      {"a quote never closed",
       "a,一\nb,\"二\nc,三\n",
       {"out.txt"},
       {"list:2: refused: as csv: the quote that opens a field here is never closed"}},
      {"a spreadsheet workbook",
       std::string("PK\x03\x04\x14\0\0", 7),
       {"out.txt"},
       {"list: refused: as csv: a zipped file, such as a spreadsheet workbook"}},
      {"no separator", "apple\npear\n", {"out.txt"}, {"list: refused: as csv: no separator"}},
      {"a column beyond the widest row",
       "#columns:a\tb\nx\ty\n",
       {"out.txt", "--columns=1,3"},
       {"list: refused: as flashcards: no row has 3 columns (the widest has 2)"}},
      {"one column for both sides, by its name and its number",
       "English,Chinese\na,一\nb,二\n",
       {"out.txt", "--columns", "english,1"},
       {"list: refused: as csv: --columns gives column 1 for both sides"}},
      {"one KVTML language for both sides, by its locale and its name",
       kKvtml,
       {"out.txt", "--columns", "en,English"},
       {"list: refused: as kvtml: --columns gives the language \"English\" (en) for both sides"}},
      {"a column name no header has",
       "a,一\nb,二\n",
       {"out.txt", "--columns", "word,b"},
       {"list: refused: as csv: no column is named \"word\" (the names are \"a\", \"一\")"}},
      {"XML that is not well-formed",
       "<?xml version=\"1.0\"?>\n<kvtml>\n<entries>\n</kvtml>\n",
       {"out.txt"},
       {"list:4: refused: as kvtml: not well-formed XML: mismatched tag"}},
      {"a KVTML file with one language",
       "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/></identifiers></kvtml>",
       {"out.txt"},
       {"list: refused: as kvtml: the file has 1 languages"}},
  };
  for (const Row& r : rows) {
    kit::WriteFile(P("list"), r.file);
    std::vector<std::string> args = {"import", P("list"), P(r.args[0])};
    args.insert(args.end(), r.args.begin() + 1, r.args.end());
    EXPECT_EQ(Run(args), kExitRefused) << r.what;
    for (std::string says : r.says) {
      if (says.starts_with("list")) says = P(says);
      EXPECT_NE(Err().find(says), std::string::npos) << r.what << ": " << says << "\n" << Err();
    }
    EXPECT_EQ(FileCount(), 1) << r.what << ": nothing written";
  }
  kit::WriteFile(P("list"), "a,一\nb,二\n");
  kit::WriteFile(P("《My词库》.txt"), "keep me");
  EXPECT_EQ(Run({"import", P("list"), P("《My词库》.txt")}), kExitRefused);
  EXPECT_NE(Err().find("exists already; give --force"), std::string::npos) << Err();
  EXPECT_EQ(Read(P("《My词库》.txt")), "keep me");
}

TEST_F(ToolTest, ImportLeavesOutBadRecordsOrRepeatsOnlyWhenAsked) {
  kit::WriteFile(P("list"), "apple\t苹果\npear\t\napple\t苹果\nplum\t李\napple\t苹果\n");
  EXPECT_EQ(Run({"import", P("list"), P("out.txt"), "--dedupe"}), kExitRefused);
  EXPECT_EQ(Err().find("repeating"), std::string::npos) << "repeats are dropped: " << Err();
  EXPECT_NE(Err().find("1 with an empty side); nothing written"), std::string::npos) << Err();

  EXPECT_EQ(Run({"import", P("list"), P("out.txt"), "--skip-bad"}), kExitGood) << Err();
  EXPECT_NE(Out().find(P("list") + ":2: left out: empty meaning"), std::string::npos) << Out();
  EXPECT_NE(Out().find("left out 3 records: 1 with an empty side, 2 repeating a pair"),
            std::string::npos)
      << Out();
  EXPECT_EQ(Loaded(P("out.txt"), books::BookCatalogue().front()),
            (Pairs{{"apple", "苹果"}, {"plum", "李"}}));

  // A catalogue book takes its count; the records beyond it are left out like any bad one.
  kit::WriteFile(P("list"), CsvRows(92));
  const std::string study = P("《小学英语》(第一册)(91)");
  EXPECT_EQ(Run({"import", P("list"), study, "--skip-bad"}), kExitGood) << Err();
  EXPECT_NE(Out().find("left out 1 record: 1 beyond what the book holds"), std::string::npos)
      << Out();
  const Pairs book = Loaded(study, *booktool::EntryForFileName(study));
  ASSERT_EQ(book.size(), 91u);
  EXPECT_EQ(book[1], (std::pair<std::string, std::string>{"w2", "第2义"}));
  EXPECT_EQ(book[90], (std::pair<std::string, std::string>{"w91", "第91义"}));

  // Without OUT the own book goes to the user's data folder, which is made when missing.
  const char* old = std::getenv("XDG_DATA_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_DATA_HOME", P("data").c_str(), 1);
  kit::WriteFile(P("list"), "apple\t苹果\npear\t梨\napple\t苹果\n");
  EXPECT_EQ(Run({"import", P("list"), "--dedupe"}), kExitGood) << Err();
  if (old)
    setenv("XDG_DATA_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
  EXPECT_NE(Out().find("dropped 1 repeated pair"), std::string::npos) << Out();
  EXPECT_EQ(Loaded(P("data/vantle/《My词库》.txt"), books::BookCatalogue().front()),
            (Pairs{{"apple", "苹果"}, {"pear", "梨"}}));
}

TEST(HtmlToText, KeepsTheTextOfAFlashCardField) {
  const std::pair<const char*, const char*> rows[] = {
      {"a<br>b<BR />c", "a b c"},
      {"<p>x</p><p>y</p>", "x y"},
      {"&#65;&#x42;&#X43; &unknown; &amp &#xD800; &#0;",
       "ABC &unknown; &amp \xEF\xBF\xBD \xEF\xBF\xBD"},
      {"a < b, c<d", "a < b, c<d"},
      {"<style>.x{color:red}</style>text<script>x()</script>", "text"},
      {"[sound:a.mp3] word [sound:unclosed", "word [sound:unclosed"},
      {"\xC2\xA0 spaced \t\n out&nbsp;", "spaced out"},
  };
  for (const auto& [html, text] : rows) EXPECT_EQ(booktool::HtmlToText(html), text) << html;
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

TEST_F(ToolTest, WritesReplaceOnlyRegularFilesFollowingLinks) {
  kit::WriteFile(P("words.tsv"), "apple\t苹果\npear\t梨\n");
  kit::WriteFile(P("list.csv"), "苹果,apple\n梨,pear\n");
  kit::WriteFile(P("《My词库》.txt"), kit::GbkLines({"a", "一", "b", "二"}));
  ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
  fs::create_directory(P("folder"));
  struct Row {
    std::vector<std::string> args;  // the command and its input; OUT is added
  } commands[] = {
      {{"convert", P("words.tsv")}},
      {{"import", P("list.csv")}},
      {{"export", P("《My词库》.txt"), "--format", "csv"}},
  };
  for (const Row& c : commands) {
    const std::string& command = c.args[0];
    auto run = [&](const std::string& out, bool force) {
      std::vector<std::string> args = c.args;
      args.push_back(out);
      args.insert(args.end(), {"--label", "《My词库》"});
      if (force) args.push_back("--force");
      return Run(args);
    };
    // A regular file: replaced only with --force, keeping its permissions.
    kit::WriteFile(P("real"), "keep me");
    fs::permissions(P("real"), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(run(P("real"), false), kExitRefused) << command;
    EXPECT_NE(Err().find(P("real") + ": refused: exists already; give --force to replace it"),
              std::string::npos)
        << Err();
    EXPECT_EQ(Read(P("real")), "keep me");
    EXPECT_EQ(run(P("real"), true), kExitGood) << command << ": " << Err();
    EXPECT_NE(Read(P("real")), "keep me") << command;
    EXPECT_EQ(fs::status(P("real")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write)
        << command;

    // A link: its target is replaced, the link stays.
    kit::WriteFile(P("real"), "keep me");
    fs::create_symlink("real", P("link"));
    EXPECT_EQ(run(P("link"), false), kExitRefused) << command;
    EXPECT_EQ(run(P("link"), true), kExitGood) << command << ": " << Err();
    EXPECT_TRUE(fs::is_symlink(P("link"))) << command;
    EXPECT_NE(Read(P("real")), "keep me") << command;
    EXPECT_NE(Out().find(", where the link points"), std::string::npos) << Out();
    fs::remove(P("link"));
    // A link to nothing yet: the file is made where it points.
    fs::create_symlink("made", P("dangling"));
    EXPECT_EQ(run(P("dangling"), false), kExitGood) << command << ": " << Err();
    EXPECT_TRUE(fs::is_regular_file(P("made"))) << command;
    fs::remove(P("dangling"));
    fs::remove(P("made"));

    // Anything else is refused, with --force or without, and left as it is.
    for (const char* other : {"fifo", "folder"}) {
      for (bool force : {false, true}) {
        EXPECT_EQ(run(P(other), force), kExitRefused) << command << " " << other;
        EXPECT_NE(Err().find(", not a regular file; only a regular file is replaced, with "
                             "--force or without"),
                  std::string::npos)
            << Err();
      }
    }
    EXPECT_TRUE(fs::is_fifo(P("fifo")));
    EXPECT_TRUE(fs::is_empty(P("folder")));

    // A new file takes the permissions the user's umask leaves, as any new file does.
    for (const mode_t mask : {mode_t{027}, mode_t{0}}) {
      const mode_t before = umask(mask);
      EXPECT_EQ(run(P("new"), false), kExitGood) << command << ": " << Err();
      umask(before);
      EXPECT_EQ(static_cast<mode_t>(fs::status(P("new")).permissions() & fs::perms::all),
                0666 & ~mask)
          << command;
      fs::remove(P("new"));
    }

    // The file read is never written over: named itself, through a link or a hard link.
    const std::string& input = c.args[1];
    const std::string kept = Read(input);
    fs::create_symlink(input, P("soft"));
    fs::create_hard_link(input, P("hard"));
    for (const std::string& out : {input, P("soft"), P("hard")}) {
      EXPECT_EQ(run(out, true), kExitRefused) << command << " " << out;
      EXPECT_NE(Err().find(out + ": refused: is " + input +
                           ", the file being read; it is never written over"),
                std::string::npos)
          << Err();
    }
    EXPECT_EQ(Read(input), kept) << command;
    fs::remove(P("soft"));
    fs::remove(P("hard"));
  }
  EXPECT_EQ(Run({"import", P("list.csv"), P("fifo"), "--force"}), kExitRefused);
  EXPECT_EQ(Err(), P("fifo") +
                       ": refused: is a named pipe (FIFO), not a regular file; only a regular "
                       "file is replaced, with --force or without\n");
  EXPECT_EQ(FileCount(), 6) << "no temporary file stays behind";
}

TEST_F(ToolTest, ExportWritesTheFormatItsNameOrFormatAsks) {
  kit::WriteFile(P("《My词库》.txt"), kit::GbkLines({"apple", "苹果", "pear", "梨"}));
  const std::string own = P("《My词库》.txt");
  EXPECT_EQ(Run({"export", own}), kExitGood);
  EXPECT_EQ(Out(),
            "\xEF\xBB\xBF"
            "\"English\",\"Chinese\"\r\n\"apple\",\"苹果\"\r\n\"pear\",\"梨\"\r\n");
  EXPECT_EQ(Run({"export", own, "-", "--format", "flashcards"}), kExitGood);
  EXPECT_EQ(Out(),
            "#separator:tab\n#html:false\n#vantle-book columns:English\tChinese\napple\t苹果\n"
            "pear\t梨\n");
  EXPECT_EQ(Run({"export", own, P("out.kvtml")}), kExitGood) << Err();
  EXPECT_EQ(Out(), P("out.kvtml") + ": wrote 2 records of 《My词库》 as kvtml\n");
  EXPECT_NE(Read(P("out.kvtml")).find("<locale>zh_CN</locale>"), std::string::npos);
  EXPECT_EQ(Run({"import", P("out.kvtml"), P("back.txt")}), kExitGood) << Err();
  EXPECT_EQ(Read(P("back.txt")), Read(own));

  struct Row {
    std::vector<std::string> args;
    int status;
    const char* says;
  } rows[] = {
      {{"export", "--help"}, kExitGood, "exactly as\nthe program holds them"},
      {{"export"}, kExitUsage, "no BOOK"},
      {{"export", own, P("out.doc")}, kExitUsage, "the extension names no format; give --format"},
      {{"export", own, "-", "--format", "xls"}, kExitUsage, "--format takes csv"},
      {{"export", own, "--columns", "1,2"}, kExitUsage, "unknown option --columns"},
      {{"export", P("words")}, kExitUsage, "give the book with --label"},
      {{"export", P("missing"), "--label", "《My词库》"}, kExitRefused, "cannot be opened"},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(Run(r.args), r.status) << r.says;
    const std::string text = r.status == kExitGood ? Out() : Err();
    EXPECT_NE(text.find(r.says), std::string::npos) << r.says << "\n" << text;
  }
}

}  // namespace

namespace {

TEST_F(ToolTest, ProgressListsTheJournalAndWritesItsWordsForOtherPrograms) {
  kit::ScopedEnv data("XDG_DATA_HOME", dir_.Str().c_str());
  EXPECT_EQ(Run({"progress"}), kExitRefused) << "no journal yet";
  EXPECT_NE(Err().find("no journal yet"), std::string::npos) << Err();
  {
    progress::Journal journal(dir_.Path() / "vantle" / "progress.sqlite3");
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_TRUE(journal.Record("vast", "巨大的", "《My词库》", progress::Grade::Good,
                               progress::Mode::Quiz, now));
    EXPECT_TRUE(journal.Record("dim", "昏暗的", "《My词库》", progress::Grade::Again,
                               progress::Mode::Match, now - 3600));
    EXPECT_TRUE(journal.Record("dim", "昏暗的", "《My词库》", progress::Grade::Again,
                               progress::Mode::Match, now - 1800));
  }
  struct Row {
    std::vector<std::string> args;
    int status;
    std::vector<std::string> lines;  // the words listed, as "english chinese", in order
  } rows[] = {
      {{"progress"}, kExitGood, {"dim 昏暗的", "vast 巨大的"}},
      {{"progress", "--missed"}, kExitGood, {"dim 昏暗的"}},
      {{"progress", "--due"}, kExitGood, {"dim 昏暗的"}},
      {{"progress", "--due", "--missed"}, kExitUsage, {}},
      {{"progress", "--label", "x"}, kExitUsage, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.args.back());
    ASSERT_EQ(Run(row.args), row.status) << Err();
    std::vector<std::string> lines;
    std::istringstream listing(Out());
    std::string line;
    std::getline(listing, line);  // the heading
    while (std::getline(listing, line)) {
      std::istringstream fields(line);
      std::vector<std::string> field;
      for (std::string f; std::getline(fields, f, '\t');) field.push_back(f);
      ASSERT_EQ(field.size(), 7u) << line;
      lines.push_back(field[4] + " " + field[5]);
    }
    EXPECT_EQ(lines, row.lines);
  }
  // As a word list that import reads back.
  ASSERT_EQ(Run({"progress", "--missed", P("missed.txt")}), kExitGood) << Err();
  EXPECT_EQ(Read(P("missed.txt")).find("dim\t昏暗的") != std::string::npos, true)
      << Read(P("missed.txt"));
  EXPECT_EQ(Run({"progress", P("missed.txt")}), kExitRefused) << "replaced only with --force";
  EXPECT_EQ(Run({"progress", "-", "--format", "csv"}), kExitGood);
  EXPECT_NE(Out().find("\"vast\",\"巨大的\""), std::string::npos) << Out();
}

// Every file in `folder`, by name, with its bytes.
std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    files[entry.path().filename().string()] = Read(entry.path());
  return files;
}

TEST_F(ToolTest, ProgressOnlyReadsTheJournalAndNeverWritesOverItsFiles) {
  kit::ScopedEnv data("XDG_DATA_HOME", dir_.Str().c_str());
  const fs::path folder = dir_.Path() / "vantle";
  const fs::path journal = folder / "progress.sqlite3";
  const std::string log = journal.string() + "-wal", index = journal.string() + "-shm";
  const auto sound = [&] {
    progress::Journal made(journal);
    EXPECT_TRUE(made.Record("vast", "巨大的", "《My词库》", progress::Grade::Good,
                            progress::Mode::Quiz, 1767225600));
  };
  struct Row {
    const char* what;
    std::function<void()> make;
    std::vector<std::string> args;
    int status;
    const char* says;  // in standard output for 0, in standard error otherwise
  } rows[] = {
      {"an empty file",
       [&] { kit::WriteFile(journal, ""); },
       {"progress"},
       kExitGood,
       "due\tstate\tanswers"},
      {"a file that is not SQLite",
       [&] { kit::WriteFile(journal, "enormous\r\n巨大的\r\n"); },
       {"progress"},
       kExitRefused,
       "学习记录已损坏"},
      {"a page overwritten",
       [&] {
         sound();
         std::string bytes = Read(journal);
         bytes.replace(4096, 4096, std::string(4096, '\x5a'));  // page 2: the words
         kit::WriteFile(journal, bytes);
       },
       {"progress", "--due"},
       kExitRefused,
       "学习记录已损坏"},
      {"a journal in rollback mode",
       [&] {
         sound();
         SQLite::Database(journal, SQLite::OPEN_READWRITE).exec("PRAGMA journal_mode = DELETE");
       },
       {"progress"},
       kExitGood,
       "\tvast\t巨大的\t《My词库》"},
      {"onto its log",
       sound,
       {"progress", log, "--format", "csv", "--force"},
       kExitRefused,
       "is one of the journal's files"},
      {"onto its index",
       sound,
       {"progress", index, "--format", "csv", "--force"},
       kExitRefused,
       "is one of the journal's files"},
      {"onto itself",
       sound,
       {"progress", journal.string(), "--format", "csv", "--force"},
       kExitRefused,
       "is one of the journal's files"},
      {"onto a link to its log",
       [&] {
         sound();
         fs::create_symlink(log, folder / "words.csv");
       },
       {"progress", (folder / "words.csv").string(), "--force"},
       kExitRefused,
       "is one of the journal's files"},
      {"onto a hard link to it",
       [&] {
         sound();
         fs::create_hard_link(journal, folder / "words.csv");
       },
       {"progress", (folder / "words.csv").string(), "--force"},
       kExitRefused,
       "the file being read"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove_all(folder);
    fs::create_directories(folder);
    row.make();
    const std::map<std::string, std::string> before = Files(folder);
    EXPECT_EQ(Run(row.args), row.status) << Err();
    const std::string text = row.status == kExitGood ? Out() : Err();
    EXPECT_NE(text.find(row.says), std::string::npos) << text;
    EXPECT_EQ(Files(folder), before) << "nothing made, nothing changed";
  }
}

}  // namespace
