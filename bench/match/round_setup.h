// What the match benchmarks start from: a 36-record own book, dealt on its group 1.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "kit/kit.h"
#include "match/form1.h"
#include "program/program.h"

namespace bench {

inline void WriteMatchBook(const std::filesystem::path& dir) {
  std::vector<kit::Record> records;
  for (int i = 1; i <= 36; ++i)
    records.emplace_back("word" + std::to_string(i), "词" + std::to_string(i) + "义");
  kit::WriteOwnBook(dir, records);
}

// Starts the program, loads the own book and deals group 1; the match window.
inline match::Form1* DealGroupOne(program::Program& program) {
  program.Start();
  auto* form = dynamic_cast<match::Form1*>(program.Shell().Find(shell::Mode::Match));
  form->List1.SetListIndex(kit::RowOf(form->List1, books::kOwnBookLabel));
  form->Command3.Click();
  form->List2.SetListIndex(1);
  form->Command2.Click();
  return form;
}

}  // namespace bench
