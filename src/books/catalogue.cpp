#include "books/catalogue.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "os/os.h"

namespace books {
namespace {

constexpr std::array<CatalogueEntry, 55> kCatalogue{{
    {"《My词库》", 30000, BookKind::OwnBook, true},
    {"《小学英语》(第一册)(91)", 91, BookKind::CatalogueBook, false},
    {"《小学英语》(第二册)(162)", 162, BookKind::CatalogueBook, false},
    {"《小学英语》(第三册)(221)", 221, BookKind::CatalogueBook, false},
    {"《小学英语》(第四册)(175)", 175, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第一册)(200)", 200, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第二册)(200)", 200, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第三册)(125)", 125, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第四册)(154)", 154, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第五册)(125)", 125, BookKind::CatalogueBook, false},
    {"新版《小学英语》(第六册)(101)", 101, BookKind::CatalogueBook, false},
    {"《初中英语》(第一册)(304)", 304, BookKind::CatalogueBook, false},
    {"《初中英语》(第二册)(333)", 333, BookKind::CatalogueBook, false},
    {"《初中英语》(第三册)(364)", 364, BookKind::CatalogueBook, false},
    {"《初中英语》(第四册)(362)", 362, BookKind::CatalogueBook, false},
    {"《初中英语》(第五册)(410)", 410, BookKind::CatalogueBook, false},
    {"《初中英语》(第六册)(390)", 390, BookKind::CatalogueBook, false},
    {"新版《初中英语》(第一册)(565)", 565, BookKind::CatalogueBook, false},
    {"新版《初中英语》(第二册)(612)", 612, BookKind::CatalogueBook, false},
    {"新版《初中英语》(第三册)(537)", 537, BookKind::CatalogueBook, false},
    {"《高中英语》(第一册)必修(1024)", 1024, BookKind::CatalogueBook, false},
    {"《高中英语》(第二册)必修(580)", 580, BookKind::CatalogueBook, false},
    {"《高中英语》(第三册)(579)", 579, BookKind::CatalogueBook, false},
    {"《高中英语》(第三册)选修(525)", 525, BookKind::CatalogueBook, false},
    {"《高考英语词汇手册》(3468)", 3468, BookKind::CatalogueBook, true},
    {"《大学英语精读》(预一)(803)", 803, BookKind::CatalogueBook, false},
    {"《大学英语精读》(预二)(627)", 627, BookKind::CatalogueBook, false},
    {"《大学英语精读》(第一册)(542)", 542, BookKind::CatalogueBook, false},
    {"《大学英语精读》(第二册)(764)", 764, BookKind::CatalogueBook, false},
    {"《大学英语精读》(第三册)(815)", 815, BookKind::CatalogueBook, false},
    {"《大学英语精读》(第四册)(947)", 947, BookKind::CatalogueBook, false},
    {"《大学英语1-4级词汇》(上)(2303)", 2303, BookKind::CatalogueBook, true},
    {"《大学英语1-4级词汇》(下)(2312)", 2312, BookKind::CatalogueBook, true},
    {"《大学英语1-4级词组》(1773)", 1773, BookKind::CatalogueBook, true},
    {"《大学英语5-6级词汇》(2090)", 2090, BookKind::CatalogueBook, true},
    {"《大学英语5-6级词组》(372)", 372, BookKind::CatalogueBook, true},
    {"《同等学历申硕英语统考大纲》(6271)", 6271, BookKind::CatalogueBook, true},
    {"《研究生英语入学考试大纲》(6489)", 6489, BookKind::CatalogueBook, true},
    {"《计算机常用词汇》(4070)", 4070, BookKind::CatalogueBook, true},
    {"《计算机常用词组》(2382)", 2382, BookKind::CatalogueBook, true},
    {"《新概念英语》(第一册)(874)", 874, BookKind::CatalogueBook, false},
    {"《新概念英语》(第二册)(1122)", 1122, BookKind::CatalogueBook, false},
    {"《新概念英语》(第三册)(1901)", 1901, BookKind::CatalogueBook, false},
    {"《新概念英语》(第四册)(1815)", 1815, BookKind::CatalogueBook, false},
    {"新版《新概念英语》(第一册)(900)", 900, BookKind::CatalogueBook, false},
    {"新版《新概念英语》(第二册)(863)", 863, BookKind::CatalogueBook, false},
    {"新版《新概念英语》(第三册)(1054)", 1054, BookKind::CatalogueBook, false},
    {"新版《新概念英语》(第四册)(791)", 791, BookKind::CatalogueBook, false},
    {"《Halvane英语》(第一册)(868)", 868, BookKind::CatalogueBook, false},
    {"《Halvane英语》(第二册)(770)", 770, BookKind::CatalogueBook, false},
    {"《Halvane英语》(第三册)(891)", 891, BookKind::CatalogueBook, false},
    {"《Halvane英语》(第四册)(765)", 765, BookKind::CatalogueBook, false},
    {"《最新TOEFL词汇》(3480)", 3480, BookKind::CatalogueBook, false},
    {"《最新TOEFL词组》(941)", 941, BookKind::CatalogueBook, false},
    {"《成语大全》(17508)", 17508, BookKind::IdiomBook, true},
}};

constexpr std::array<CatalogueEntry, 12> MakeDictionary() {
  std::array<CatalogueEntry, 12> out{};
  std::size_t n = 0;
  for (const CatalogueEntry& e : kCatalogue)
    if (e.in_dictionary) out[n++] = e;
  return out;
}

constexpr std::array<CatalogueEntry, 12> kDictionary = MakeDictionary();

}  // namespace

std::span<const CatalogueEntry> BookCatalogue() {
  return kCatalogue;
}
std::span<const CatalogueEntry> DictionaryCatalogue() {
  return kDictionary;
}

const CatalogueEntry* FindEntry(std::span<const CatalogueEntry> catalogue, std::string_view label) {
  auto it = std::find_if(catalogue.begin(), catalogue.end(),
                         [&](const CatalogueEntry& e) { return e.label == label; });
  return it == catalogue.end() ? nullptr : &*it;
}

std::optional<int> WordCountForLabel(std::span<const CatalogueEntry> catalogue,
                                     std::string_view label) {
  const CatalogueEntry* entry = FindEntry(catalogue, label);
  if (!entry) return std::nullopt;
  return entry->word_count;
}

std::string BookFilePath(std::string_view program_directory, const CatalogueEntry& entry) {
  std::string path(program_directory);
  switch (entry.kind) {
    case BookKind::OwnBook:
      path += "/";
      path += entry.label;
      path += ".txt";
      break;
    case BookKind::IdiomBook:
      path += "/Study/《成语大全》.txt";
      break;
    case BookKind::CatalogueBook:
      path += "/Study/";
      path += entry.label;
      break;
  }
  return path;
}

std::string UserDataDirectory() {
  return os::UserDataDirectory();
}

std::string UserOwnBookPath(std::string_view user_directory) {
  if (user_directory.empty()) return {};
  std::string path(user_directory);
  path.append("/").append(kOwnBookLabel).append(".txt");
  return path;
}

std::string OwnBookPath(std::string_view program_directory, std::string_view user_directory) {
  if (std::string user_book = UserOwnBookPath(user_directory); !user_book.empty()) {
    std::error_code error;
    if (std::filesystem::exists(os::PathOf(user_book), error)) return user_book;
  }
  return BookFilePath(program_directory, BookCatalogue().front());
}

}  // namespace books
