// Checking a book file as the program reads it, and what would hurt a player in a book that
// loads: the same text twice in a group, texts too long for a board button, bad encodings.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "books/loader.h"
#include "booktool/book_list.h"

namespace booktool {

// A board cell is 1110 x 1290 twips, 74 x 86 pixels, captioned at 10.5 pt (14 px): a Chinese
// character is about 14 px wide and a Latin letter about 7 px, so inside the button's frame a
// line takes 9 half-width columns (4 Chinese characters) and the height takes 4 lines.
inline constexpr int kButtonColumns = 9;
inline constexpr int kButtonLines = 4;

// Lines the text needs on a board button: words wrap at spaces, a word longer than a line
// breaks, each Chinese character may start a line; ASCII takes one column, others two.
int ButtonLines(std::string_view text);

enum class WarningKind { Repeat, TooLong, Empty, Encoding };

struct Warning {
  WarningKind kind;
  std::string text;
};

// Warnings about a loaded book: repeats within the groups of 18, texts too long for a board
// button, empty texts, bytes that are not GBK (or, in the own book, neither GBK nor UTF-8).
std::vector<Warning> FindWarnings(const books::WordBook& book, const books::CatalogueEntry& entry,
                                  const books::Decoding& decoding);

// A book that loads, and what would hurt a player in it.
struct CheckedBook {
  books::WordBook book;
  books::Decoding decoding;
  std::vector<Warning> warnings;
};

// Loads `path` with the program's loader and gathers the warnings of a good load; a catalogue
// or idiom book that reads as UTF-8 beyond ASCII is warned about too (they are always GBK).
base::Result<CheckedBook, books::LoadFailure> CheckBook(const std::string& path,
                                                        const books::CatalogueEntry& entry);

// The first record (from 1) where the loaded book differs from the list's records; 0 when
// the counts differ, -1 when the book holds exactly the list.
int FirstDifference(const books::WordBook& book, const books::CatalogueEntry& entry,
                    const std::vector<ListRecord>& records);

// One line on what went wrong: where, what, expected and found counts.
std::string DescribeFailure(const books::LoadFailure& failure, const books::CatalogueEntry& entry);

// Prints the warnings about the book `name`, at most 20 of a kind.
void PrintWarnings(const std::string& name, const std::vector<Warning>& warnings,
                   std::ostream& out);

// "FILE: refused: WHAT", then the message the program shows before it ends.
void PrintLoadFailure(const std::string& file, const books::LoadFailure& failure,
                      const books::CatalogueEntry& entry, std::ostream& out);

}  // namespace booktool
