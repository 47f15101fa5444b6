// What the match benchmarks start from: a 36-record own book, dealt on its group 1.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "kit/kit.h"
#include "program/program.h"

namespace bench {

inline std::string English(int record) {
  return kit::Numbered("word", record);
}
inline std::string Chinese(int record) {
  return kit::Numbered("词", record, "义");
}

inline void WriteMatchBook(const std::filesystem::path& dir) {
  std::vector<kit::Record> records;
  for (int i = 1; i <= 36; ++i) records.emplace_back(English(i), Chinese(i));
  kit::WriteOwnBook(dir, records);
}

// Starts the program, loads the own book and deals group 1; the match window's controls.
inline kit::Controls DealGroupOne(program::Program& program) {
  program.Start();
  kit::Controls match(program.Shell().Find(shell::Mode::Match)->Window());
  match.BookList().SetListIndex(kit::RowOf(match.BookList(), books::kOwnBookLabel));
  match.ChooseBookButton().Click();
  match.GroupList().SetListIndex(1);
  match.ChooseGroupButton().Click();
  return match;
}

// A new deal of the same group: "换组词", then "选组".
inline void DealAgain(const kit::Controls& match) {
  match.ChangeGroupButton().Click();
  match.ChooseGroupButton().Click();
}

}  // namespace bench
