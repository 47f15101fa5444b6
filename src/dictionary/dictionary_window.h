// The two-way dictionary window: one query matched against both sides of every entry.
#pragma once

#include <string>
#include <vector>

#include "shell/book_choice.h"
#include "shell/mode_window.h"

namespace dictionary {

class DictionaryWindow : public shell::ModeWindow {
 public:
  explicit DictionaryWindow(shell::Shell& shell);

  void Load() override;
  void OnClose() override;

 private:
  enum class Screen { BookChoice, Lookup };

  // Shows `screen` from the table of what each screen shows.
  void ShowScreen(Screen screen);

  // Switches to the lookup screen, titles the window with the chosen book, reads the book
  // and looks the current query up in it.
  void LoadWordBook();
  // Lists every entry holding the query on either side in the result box, then beeps.
  void LookUpWord();
  // Enter looks the query up; the key itself goes on to the box as usual.
  void OnQueryKey(int key);
  // "加入复习 (F4)": the hit on the line selected in the results, else the first hit, goes
  // into the journal, due at once.
  void OnAddToReview(const ui::Attention& attention);
  // "我认识 (F5)": the same hit is graded Easy, as a word the learner knows well.
  void OnKnown(const ui::Attention& attention);
  // The hit F4 and F5 mean; null on the book list or without hits.
  const books::Word* Meant(const ui::Attention& attention) const;
  // "word — 词", as the menu names a word.
  static std::string Named(const books::Word& word);
  // The word of the hit whose block holds the first line of `selected`; the first hit when
  // none does or nothing is selected; null without hits.
  const books::Word* ChosenWord(const std::string& selected) const;

  shell::BookChoice books_;
  ui::Button look_up_button_{"look_up_button"};
  ui::TextBox query_box_{"query_box"};
  ui::TextBox result_box_{"result_box"};  // multi-line

  Screen screen_ = Screen::BookChoice;
  std::vector<std::size_t> hits_;  // the words the result box lists
  std::string added_;              // the last word put up for review, for the menu to say
  std::string known_;              // the last word graded Easy, for the menu to say
};

}  // namespace dictionary
