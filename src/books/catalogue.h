// The fixed catalogue of word books: labels, word counts and kinds.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace books {

enum class BookKind { OwnBook, IdiomBook, CatalogueBook };

struct CatalogueEntry {
  std::string_view label;  // shown in the list, the lookup key and the file name
  int word_count;          // records the file must hold; the own book's capacity
  BookKind kind;
  bool in_dictionary;  // offered by the dictionary window
};

inline constexpr std::string_view kOwnBookLabel = "《My词库》";
inline constexpr std::string_view kIdiomBookLabel = "《成语大全》(17508)";
inline constexpr int kOwnBookCapacity = 30000;

// All 55 books, in list order.
std::span<const CatalogueEntry> BookCatalogue();
// The dictionary window's 12 books, in its list order.
std::span<const CatalogueEntry> DictionaryCatalogue();

// The first entry whose label equals `label` exactly; null when none does.
const CatalogueEntry* FindEntry(std::span<const CatalogueEntry> catalogue, std::string_view label);

// The word count of `label`, or nothing when the label is not in the catalogue.
std::optional<int> WordCountForLabel(std::span<const CatalogueEntry> catalogue,
                                     std::string_view label);

// Where the book's file lives, below the program directory (no trailing separator).
std::string BookFilePath(std::string_view program_directory, const CatalogueEntry& entry);

// The user's data folder for Vantle: $XDG_DATA_HOME/vantle, or ~/.local/share/vantle when that
// variable is unset or not an absolute path; empty when neither is known.
std::string UserDataDirectory();

// The user's copy of the own book in `user_directory`; empty when that folder is unknown.
std::string UserOwnBookPath(std::string_view user_directory);

// Where the own book is read from: the user's copy in `user_directory` when that file exists
// (an installed program's folder is not the user's to write), else the one beside the program.
std::string OwnBookPath(std::string_view program_directory, std::string_view user_directory);

}  // namespace books
