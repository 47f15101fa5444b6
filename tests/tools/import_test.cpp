// The parts of import on their own: decoding, column choice by content and by locale, the
// readers' summaries, the book rules' messages, and export read back by import.
#include <gtest/gtest.h>
#include <unistd.h>

#include "books/rules.h"
#include "booktool/export.h"
#include "booktool/import.h"
#include "booktool/import_parts.h"

namespace {

using booktool::ListFormat;
using booktool::ListRecord;
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string Utf16(std::string_view utf8, bool big) {
  std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
  // Test lists are ASCII and BMP Chinese: three-byte or one-byte UTF-8 only.
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    char32_t cp = c;
    if (c >= 0xE0) {
      cp = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
      i += 3;
    } else {
      ++i;
    }
    const char hi = static_cast<char>(cp >> 8), lo = static_cast<char>(cp & 0xFF);
    out += big ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

// A flash-card program's plain-text export of a deck that mixes note types, without header
// lines: most notes English first, six Chinese first (a note type for each direction).
constexpr const char* kMixedNotes =
    "apple\t苹果\n"
    "pear\t梨\n"
    "香蕉\tbanana\n"
    "book\t书\n"
    "西瓜\twatermelon\n"
    "run\t跑\n"
    "look forward to\t期待\n"
    "狗\tdog\n"
    "学校\tschool\n"
    "bank\t银行 河岸\n"
    "teacher\t老师\n"
    "water\t水\n"
    "T恤衫\tT-shirt\n"
    "n. 苹果树\tapple tree\n"
    "sun\t太阳\n"
    "moon\t月亮\n";
// The same export with the notes' HTML.
constexpr const char* kMixedNotesHtml =
    "<b>apple</b>\t苹果\n"
    "pear\t梨\n"
    "<div>香蕉</div>\tbanana\n"
    "book\t书 [sound:book.mp3]\n"
    "西瓜\twatermelon\n"
    "run\t跑\n"
    "look&nbsp;forward&nbsp;to\t期待\n"
    "狗\t<i>dog</i>\n"
    "学校\tschool\n"
    "bank\t银行<br>河岸\n"
    "teacher\t老师\n"
    "water\t水\n"
    "T恤衫\tT-shirt\n"
    "n. 苹果树\t<b>apple</b> tree\n"
    "sun\t太阳\n"
    "moon\t月亮\n";
const std::vector<std::pair<std::string, std::string>> kMixedNotesRecords = {
    {"apple", "苹果"},
    {"pear", "梨"},
    {"banana", "香蕉"},
    {"book", "书"},
    {"watermelon", "西瓜"},
    {"run", "跑"},
    {"look forward to", "期待"},
    {"dog", "狗"},
    {"school", "学校"},
    {"bank", "银行 河岸"},
    {"teacher", "老师"},
    {"water", "水"},
    {"T-shirt", "T恤衫"},
    {"apple tree", "n. 苹果树"},
    {"sun", "太阳"},
    {"moon", "月亮"},
};

Pairs PairsOf(const std::vector<ListRecord>& records) {
  Pairs pairs;
  for (const ListRecord& r : records) pairs.emplace_back(r.english, r.chinese);
  return pairs;
}

TEST(ParseImport, TakesEachSideFromTheColumnOrLanguageThatHoldsIt) {
  const std::string kvtml_zh_first =
      "<kvtml version=\"2.0\"><identifiers>"
      "<identifier id=\"0\"><name>Chinese</name><locale>zh_CN</locale></identifier>"
      "<identifier id=\"1\"><name>English</name><locale>en_GB</locale></identifier>"
      "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>苹果</text>"
      "</translation><translation id=\"1\"><text>apple</text></translation></entry></entries>"
      "</kvtml>";
  const std::string kvtml_no_locale =
      "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/><identifier id=\"1\"/>"
      "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>苹果</text>"
      "</translation><translation id=\"1\"><text>apple</text></translation></entry></entries>"
      "</kvtml>";
  struct Row {
    const char* what;
    std::string bytes;
    Pairs records;     // empty: refused
    std::string says;  // in the summary, or in the refusal
  } rows[] = {
      {"Chinese-first CSV without a header",
       "苹果,apple\n梨,pear\n",
       {{"apple", "苹果"}, {"pear", "梨"}},
       "English from column 2, meanings from column 1 (told apart by their content)"},
      {"extra columns: part of speech between the sides",
       "apple\tn.\t苹果\nrun\tv.\t跑\n",
       {{"apple", "苹果"}, {"run", "跑"}},
       "English from column 1, meanings from column 3 (told apart by their content)"},
      {"meanings with Latin abbreviations stay Chinese",
       "adj. 大的,big\nn. 苹果树,apple tree\n",
       {{"big", "adj. 大的"}, {"apple tree", "n. 苹果树"}},
       "English from column 2"},
      {"a Chinese-first flash-card export",
       "#separator:tab\n#html:true\n<b>苹果</b>\tapple\n",
       {{"apple", "苹果"}},
       "English from column 2, meanings from column 1 (told apart"},
      {"both sides Latin",
       "apple,pear\nfig,plum\n",
       {},
       "cannot tell the English column from the Chinese one by their content (column 1 mostly "
       "Latin letters, column 2 mostly Latin letters); name them with --columns A,B"},
      {"both sides Chinese",
       "苹果,梨\n桃,李\n",
       {},
       "(column 1 mostly Chinese characters, column 2 mostly Chinese characters); name them "
       "with --columns"},
      {"many columns: six are described",
       "a,b,c,d,e,f,g,h\ni,j,k,l,m,n,o,p\n",
       {},
       "column 6 mostly Latin letters, and 2 more columns); name them"},
      {"UTF-16 LE spreadsheet text",
       Utf16("苹果\tapple\r\n梨\tpear\r\n", false),
       {{"apple", "苹果"}, {"pear", "梨"}},
       "CSV in UTF-16 LE, separated by tabs"},
      {"UTF-16 BE with a header",
       Utf16("English\tChinese\napple\t苹果\n", true),
       {{"apple", "苹果"}},
       "CSV in UTF-16 BE, separated by tabs, header row skipped"},
      {"UTF-16 LE with a header",
       Utf16("单词,释义\napple,苹果\n", false),
       {{"apple", "苹果"}},
       "English from column 1 \"单词\", meanings from column 2 \"释义\""},
      {"UTF-16 flash-card export",
       Utf16("#separator:tab\n苹果\tapple\n", false),
       {{"apple", "苹果"}},
       "flash-card export in UTF-16 LE"},
      {"KVTML with Chinese as the first language",
       kvtml_zh_first,
       {{"apple", "苹果"}},
       "English from \"English\" (en_GB), meanings from \"Chinese\" (zh_CN)"},
      {"KVTML without locales: by their content",
       kvtml_no_locale,
       {{"apple", "苹果"}},
       "(told apart by their content: the file gives no locale)"},
      {"KVTML without locales: by their names",
       "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>中文</name></identifier>"
       "<identifier id=\"1\"><name>English</name></identifier></identifiers><entries><entry>"
       "<translation id=\"0\"><text>梨</text></translation><translation id=\"1\"><text>pear"
       "</text></translation></entry></entries></kvtml>",
       {{"pear", "梨"}},
       "English from \"English\", meanings from \"中文\" (told apart by their names"},
      {"a deck whose Front is Chinese, with deck and pinyin columns",
       "#separator:tab\n#deck column:1\n#columns:Deck\tFront\tPinyin\tBack\n"
       "HSK\t苹果\tpíngguǒ\tapple\nHSK\t你好\tnǐ hǎo\thello\n",
       {{"apple", "苹果"}, {"hello", "你好"}},
       "English from column 4 \"Back\", meanings from column 2 \"Front\" (told apart by their "
       "content, not by the header's names)"},
      {"columns named by their language are taken at their word, as export writes them",
       "English,Chinese\n苹,p\n英,q\n",
       {{"苹", "p"}, {"英", "q"}},
       "English from column 1 \"English\", meanings from column 2 \"Chinese\""},
      {"pinyin before the English column",
       "苹果,píngguǒ,apple\n你好,nǐ hǎo,hello\n",
       {{"apple", "苹果"}, {"hello", "你好"}},
       "English from column 3, meanings from column 1"},
      {"KVTML 1 without a version",
       "<?xml version=\"1.0\"?>\n<kvtml encoding=\"UTF-8\"><e><o>apple</o><t>苹果</t></e></kvtml>",
       {},
       "a KVTML 1 file: save it in KVTML 2 first"},
      // Flash-card exports as their program writes them ("Notes in Plain Text"): with its
      // header lines or, from older versions and on request, without; HTML or plain text;
      // note identifiers, note types, decks and tags in columns of their own.
      {"an export with every column its program can add",
       "#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
       "#tags column:6\n"
       "f:4Rq`Wz1K\tBasic\t英语::四级\t<div>abandon</div>\t放弃&nbsp;抛弃\tcet4\n"
       "b7#Lm2,Xq9\tBasic\t英语::四级\tability\t<b>能力</b><br>才能\tcet4 noun\n",
       {{"abandon", "放弃 抛弃"}, {"ability", "能力 才能"}},
       "English from column 4, meanings from column 5 (told apart by their content)"},
      {"an export without header lines: its HTML made text",
       "<b>apple</b>\t苹果\nlook&nbsp;forward&nbsp;to\t期待\nbank\t银行<br>河岸\n"
       "cat [sound:cat.mp3]\t猫\n",
       {{"apple", "苹果"}, {"look forward to", "期待"}, {"bank", "银行 河岸"}, {"cat", "猫"}},
       "flash-card export in UTF-8, separated by tabs, HTML; English from column 1"},
      {"an export without header lines whose note identifiers come first",
       "Nr:?$]hr`r\t<b>apple</b>\t苹果\tvocab\ne3Q]V.Jx#N\t<b>pear</b>\t梨\tvocab\n"
       "O+~6b>1Lpq\tbanana\t香蕉\tvocab\ntK%j4F(zWm\tgrape\t葡萄\tvocab fruit\n",
       {{"apple", "苹果"}, {"pear", "梨"}, {"banana", "香蕉"}, {"grape", "葡萄"}},
       "English from column 2, meanings from column 3 (told apart by their content), column 1 "
       "left out: it holds note identifiers"},
      {"note identifiers in a plain tab-separated list",
       "Nr:?$]hr`r\tapple\t苹果\ne3Q]V.Jx#N\tpear\t梨\n",
       {{"apple", "苹果"}, {"pear", "梨"}},
       "CSV in UTF-8, separated by tabs; English from column 2, meanings from column 3 (told "
       "apart by their content), column 1 left out"},
      {"note types of both directions: each record turned by its own content",
       "#separator:tab\n#html:true\n#notetype column:1\n#tags column:4\n"
       "Basic\tapple\t苹果\tvocab\nBasic\tpear\t梨\t\n中英\t香蕉\tbanana\t\n"
       "Basic\tgrape\t葡萄\t\n中英\t<i>西瓜</i>\twatermelon\t\n",
       {{"apple", "苹果"},
        {"pear", "梨"},
        {"banana", "香蕉"},
        {"grape", "葡萄"},
        {"watermelon", "西瓜"}},
       "English from column 2, meanings from column 3 (told apart by their content), 2 records "
       "turned round by their own content"},
      {"half the notes each way round, without header lines",
       "<b>apple</b>\t苹果\n<b>香蕉</b>\tbanana\n",
       {{"apple", "苹果"}, {"banana", "香蕉"}},
       "1 record turned round by their own content"},
      {"a deck named Front and Back, some notes turned",
       "#separator:tab\n#columns:Front\tBack\napple\t苹果\n梨\tpear\n",
       {{"apple", "苹果"}, {"pear", "梨"}},
       "English from column 1 \"Front\", meanings from column 2 \"Back\", 1 record turned"},
      {"a plain-text export: sounds dropped",
       "#separator:tab\n#html:false\napple\t苹果 [sound:apple.mp3]\n",
       {{"apple", "苹果"}},
       "flash-card export in UTF-8, separated by tabs, plain text"},
      {"a tab-separated list with ampersands is no flash-card export",
       "R&D\t研发\nAT&T\t电话公司\n",
       {{"R&D", "研发"}, {"AT&T", "电话公司"}},
       "CSV in UTF-8, separated by tabs"},
      {"a spreadsheet whose header names roles: its rows turned as a deck's notes are",
       "word,meaning\napple,苹果\n香蕉,banana\n",
       {{"apple", "苹果"}, {"banana", "香蕉"}},
       "English from column 1 \"word\", meanings from column 2 \"meaning\", 1 record turned"},
      // One rule for every format: a record plainly Latin on one side and plainly Chinese on
      // the other takes its sides from its own content; the columns decide the rest.
      {"a plain export of mixed note types without header lines", kMixedNotes, kMixedNotesRecords,
       "CSV in UTF-8, separated by tabs; English from column 1, meanings from column 2 (told "
       "apart by their content), 6 records turned round by their own content"},
      {"the same notes with their HTML", kMixedNotesHtml, kMixedNotesRecords,
       "flash-card export in UTF-8, separated by tabs, HTML; English from column 1, meanings from "
       "column 2 (told apart by their content), 6 records turned round"},
      {"half the notes each way round in a spreadsheet",
       "apple,苹果\n香蕉,banana\npear,梨\n西瓜,watermelon\n",
       {{"apple", "苹果"}, {"banana", "香蕉"}, {"pear", "梨"}, {"watermelon", "西瓜"}},
       "(told apart by their content), 2 records turned round"},
      {"a side neither plainly Latin nor plainly Chinese keeps its column",
       "apple\t苹果\npear\t梨\n香蕉\tbanana\nT恤衫 T-shirt\tT恤\nnǐ hǎo\t你好\n",
       {{"apple", "苹果"},
        {"pear", "梨"},
        {"banana", "香蕉"},
        {"T恤衫 T-shirt", "T恤"},
        {"nǐ hǎo", "你好"}},
       "1 record turned round"},
      {"KVTML without locales: each entry by its own content",
       "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/><identifier id=\"1\"/>"
       "</identifiers><entries><entry><translation id=\"0\"><text>apple</text></translation>"
       "<translation id=\"1\"><text>苹果</text></translation></entry><entry><translation "
       "id=\"0\"><text>梨</text></translation><translation id=\"1\"><text>pear</text>"
       "</translation></entry><entry><translation id=\"0\"><text>fig</text></translation>"
       "<translation id=\"1\"><text>无花果</text></translation></entry></entries></kvtml>",
       {{"apple", "苹果"}, {"pear", "梨"}, {"fig", "无花果"}},
       "(told apart by their content: the file gives no locale), 1 record turned round"},
      {"KVTML by its locales takes every entry at its word",
       "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>en</locale>"
       "</identifier><identifier id=\"1\"><locale>zh</locale></identifier></identifiers>"
       "<entries><entry><translation id=\"0\"><text>梨</text></translation><translation "
       "id=\"1\"><text>pear</text></translation></entry></entries></kvtml>",
       {{"梨", "pear"}},
       "meanings from \"1\" (zh)"},
      {"KVTML whose locales name neither side",
       "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><locale>de</locale>"
       "</identifier><identifier id=\"1\"><locale>fr</locale></identifier></identifiers>"
       "</kvtml>",
       {},
       "cannot tell the English language from the Chinese one by their locales (the file "
       "has 1 \"0\" (de), 2 \"1\" (fr)); name them with --columns A,B"},
  };
  for (const Row& r : rows) {
    const base::Result<booktool::ImportedList> list = booktool::ParseImport(r.bytes, {});
    EXPECT_EQ(list.Ok() ? PairsOf(list->records) : Pairs(), r.records) << r.what;
    const std::string& text = list.Ok() ? list->description : list.Failed().reason;
    EXPECT_NE(text.find(r.says), std::string::npos) << r.what << ": " << text;
  }
}

TEST(ScriptOf, TellsLatinFromChineseText) {
  using booktool::import::Script;
  const std::pair<const char*, Script> rows[] = {
      {"apple", Script::Latin},     {"苹果", Script::Chinese},
      {"n. 苹果", Script::Chinese}, {"adj. 大的", Script::Chinese},
      {"café", Script::Latin},      {"123 !", Script::None},
      {"", Script::None},           {"T恤衫 T-shirt", Script::Latin},
      {"nǐ hǎo", Script::Pinyin},   {"fiancée à la", Script::Latin},
  };
  for (const auto& [text, script] : rows)
    EXPECT_EQ(booktool::import::ScriptOf(text), script) << text;
}

TEST(BookRules, EachRuleSaysWhatIsWrongInItsOwnWords) {
  const auto catalogue = books::BookCatalogue();
  const books::CatalogueEntry& own = catalogue.front();
  const books::CatalogueEntry& study = catalogue[1];
  struct Row {
    const char* english;
    const char* meaning;
    int index;
    books::Fault fault;
    std::string message;
  } rows[] = {
      {"", "空", 0, books::Fault::EmptyEnglish, "empty English entry (meaning \"空\")"},
      {"pear", "", 0, books::Fault::EmptyMeaning, "empty meaning (English entry \"pear\")"},
      {"a\nb", "行", 0, books::Fault::LineBreak,
       "English entry \"a\\nb\" holds a line break or a NUL byte, which a book line cannot hold"},
      {"bad", "\xB9\xFB", 0, books::Fault::NotUtf8, "meaning \"\xB9\xFB\" is not UTF-8"},
      {"smile", "😀", 0, books::Fault::NotGbk, "meaning \"😀\" holds \"😀\", which GBK cannot hold"},
      {"odd", "\xEF\xBF\xBD", 0, books::Fault::Unreadable,
       "meaning \"\xEF\xBF\xBD\" holds bytes that are neither UTF-8 nor GBK"},
      {"one", "一1", 0, books::Fault::Marker,
       "meaning \"一1\" ends in 0, 1 or a space, which the program removes"},
      {"apple", "苹果", 1, books::Fault::Repeat,
       "the pair \"apple\" / \"苹果\" again (first on line 1)"},
  };
  books::BookRules rules(own, {.empty_side = true, .repeat = true});
  std::string gbk_en, gbk_zh;
  ASSERT_TRUE(rules.Check("apple", "苹果", 0, 1, gbk_en, gbk_zh).empty());
  for (const Row& r : rows) {
    const auto faults = rules.Check(r.english, r.meaning, r.index, 9, gbk_en, gbk_zh);
    ASSERT_FALSE(faults.empty()) << r.message;
    EXPECT_EQ(faults.front().kind, r.fault) << r.message;
    EXPECT_EQ(faults.front().message, r.message);
  }
  // What only convert's rules and the counts find.
  books::BookRules lenient(study, {});
  auto faults = lenient.Check("", "一", 1, 2, gbk_en, gbk_zh);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].kind, books::Fault::NoFirstCharacter);
  EXPECT_TRUE(lenient.Check("", "一", 0, 1, gbk_en, gbk_zh).empty()) << "the first is not lowered";
  std::optional<books::RecordFault> fault = lenient.CountFault(2);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->kind, books::Fault::ExactCount);
  EXPECT_EQ(fault->message, "2 records, but " + std::string(study.label) + " holds exactly " +
                                std::to_string(study.word_count) + " records");
  fault = rules.CountFault(1);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->message, "1 record: the own book holds from 2 to 30000 records");
  EXPECT_FALSE(rules.CountFault(30000).has_value());
  EXPECT_FALSE(rules.RoomFault(29999).has_value());
  fault = rules.RoomFault(30000);
  ASSERT_TRUE(fault.has_value());
  EXPECT_EQ(fault->kind, books::Fault::TooMany);
  EXPECT_EQ(fault->message, "record 30001 is beyond the 30000 records the own book holds");
  EXPECT_EQ(books::FaultShort(books::Fault::EmptyMeaning), "with an empty side");
}

TEST(OwnBookEncoding, ReadsAsUtf8OnlyWhenAllIsUtf8BeyondAscii) {
  const std::pair<const char*, bool> rows[] = {
      {"apple\r\n苹果\r\n", true},
      {"apple\r\npear\r\n", false},
      {"apple\r\n\xC6\xBB\xB9\xFB\r\n", false},
      {"苹果\r\n\xB9\xFB\r\n", false},
  };
  for (const auto& [bytes, utf8] : rows) EXPECT_EQ(books::OwnBookReadsAsUtf8(bytes), utf8) << bytes;
}

// Export then import: the same records byte for byte, in every format, for awkward texts
// and every kind of white space a loaded book may hold.
TEST(Export, ImportReadsBackWhatExportWrote) {
  const std::vector<ListRecord> records = {
      {1, "apple", "苹果"},
      {2, "\"quoted\", with comma", "引号\"与,逗号;分号"},
      {3, "#tag:like", "井号"},
      {4, "tab\there", "制表\t符"},
      {5, "<b>&amp;</b>", "<不是标签> & 符号 [sound:a.mp3]"},
      {6, "-", "-一意"},
      {7, "", "空的英文"},
      {8, "sep=;", "看似分隔"},
      {9, "ice  cream", "冰  淇淋"},
      {10, " apple", " 苹果"},
      {11, "word ", "词"},
      {12, "", ""},
      {13, " ", "\t"},
      {14,
       "no\xC2\xA0"
       "break",
       "\xC2\xA0"
       "不断"},
      {15, "\"", "#"},
      {16, "苹果", "apple"},
      {17, "tags:x", "标签"},
      // A damaged catalogue book's first character raised into a line end.
      {18, "\rword", "\n"},
      {19, "\r\n", "a\r\nb"},
  };
  for (ListFormat format : {ListFormat::Csv, ListFormat::Flashcards, ListFormat::Kvtml}) {
    const base::Result<std::string> bytes = booktool::ExportRecords(records, format, "《My词库》");
    ASSERT_TRUE(bytes.Ok()) << bytes.Failed().reason;
    const base::Result<booktool::ImportedList> list = booktool::ParseImport(*bytes, {});
    ASSERT_TRUE(list.Ok()) << list.Failed().reason;
    ASSERT_EQ(list->format, format) << *bytes;
    ASSERT_EQ(list->records.size(), records.size()) << *bytes;
    for (std::size_t i = 0; i < records.size(); ++i) {
      EXPECT_EQ(list->records[i].english, records[i].english) << booktool::FormatName(format);
      EXPECT_EQ(list->records[i].chinese, records[i].chinese) << booktool::FormatName(format);
    }
  }
  // What a format cannot hold refuses it, and CSV holds everything: a NUL byte (a damaged
  // first character raised into one) among the rest.
  const std::vector<ListRecord> bell = {{3, "bell\x07", "铃"}};
  const base::Result<std::string> kvtml = booktool::ExportRecords(bell, ListFormat::Kvtml, "x");
  ASSERT_FALSE(kvtml.Ok());
  EXPECT_EQ(kvtml.Failed().reason,
            "record 3: English entry \"bell\x07\" holds U+0007, which XML cannot hold; export the "
            "book as CSV");
  const std::vector<ListRecord> nul = {{1, "a", "b"}, {2, std::string("\xEF\xBF\xBD\0x", 5), "c"}};
  const base::Result<std::string> cards = booktool::ExportRecords(nul, ListFormat::Flashcards, "x");
  ASSERT_FALSE(cards.Ok());
  EXPECT_NE(cards.Failed().reason.find("record 2: English entry"), std::string::npos);
  EXPECT_NE(cards.Failed().reason.find("holds U+0000, which flash-card text cannot hold"),
            std::string::npos);
  const base::Result<std::string> csv = booktool::ExportRecords(nul, ListFormat::Csv, "x");
  ASSERT_TRUE(csv.Ok());
  const base::Result<booktool::ImportedList> back = booktool::ParseImport(*csv, {});
  ASSERT_TRUE(back.Ok()) << back.Failed().reason;
  EXPECT_EQ(PairsOf(back->records), PairsOf(nul));
}

// A flash-card program takes the '#' lines at the top of a file for its own, maps the
// columns onto a note type's fields by the names of a "#columns:" line when there is one
// (names no field of its stock "Basic" type matches leave the back empty) and in their order
// when there is none, and makes the next column past the fields it took the tags unless a
// "#tags column:" line says which. So the export names no columns and writes two on every
// row: the English entry goes to a note's first field, the meaning to its second, and nothing
// becomes tags.
TEST(Export, FlashCardsFillANotesFieldsInOrderAndNoTags) {
  const base::Result<std::string> bytes = booktool::ExportRecords(
      {{1, "#apple", "苹果"}, {2, "", ""}, {3, "a\tb", "\"c\""}}, ListFormat::Flashcards, "x");
  ASSERT_TRUE(bytes.Ok());
  std::string_view text = *bytes;
  int header_lines = 0;
  while (text.starts_with('#')) {
    const std::string_view line = text.substr(0, text.find('\n'));
    const std::string key = booktool::import::Lower(line.substr(1, line.find(':') - 1));
    EXPECT_TRUE(key != "columns" && !key.ends_with(" column")) << line;
    text.remove_prefix(line.size() + 1);
    ++header_lines;
  }
  EXPECT_EQ(header_lines, 3);
  const auto rows = booktool::import::SplitRows(text, '\t', 1);
  ASSERT_EQ(rows.size(), 3u) << "a record beginning with '#' is no comment, an empty one no gap";
  for (const auto& row : rows) EXPECT_EQ(row.fields.size(), 2u) << row.line;
}

}  // namespace
