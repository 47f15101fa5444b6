// The windows that read word books (match game, quiz, dictionary): the book list, the button
// that loads the chosen book, the button back to the list, and the window's own word book.
#pragma once

#include <span>
#include <string>

#include "books/catalogue.h"
#include "books/word_book.h"
#include "shell/mode_window.h"

namespace shell {

// Where the book list and its button stand.
inline constexpr int kBookListLeft = 4400;
inline constexpr int kBookListTop = 1500;
inline constexpr int kBookListWidth = 3400;
inline constexpr int kBookListHeight = 4000;
inline constexpr int kChooseBookLeft = 5500;
inline constexpr int kChooseBookTop = 6000;

class BookWindow : public ModeWindow {
 public:
  BookWindow(Shell& shell, const std::string& name,
             std::span<const books::CatalogueEntry> catalogue, int column_rows = kModeCount);

 protected:
  // Back to the book list.
  virtual void ShowBookChoice() = 0;
  // Loads the book chosen in the list, as each window does it.
  virtual void LoadWordBook() = 0;

  // Enter in `list` presses `button`, the one beside it, but only while a row is chosen.
  static void PressOnEnter(ui::ListBox& list, ui::Button& button);
  // Places the book list, its button and the button back to it, captions them and fills the
  // list.
  void SetUpBookControls(const std::string& choose_caption, const std::string& change_caption);
  // Reads the book chosen in the list into book_ and keeps its label. Any failure shows its
  // message and ends the program, so on return the book is loaded.
  void ReadSelectedBook();

  // The label of the loaded book; empty before the first load.
  const std::string& BookLabel() const { return book_label_; }
  // Whether the loaded book is the idiom book, whose lines are cut in two.
  bool IsIdiomBook() const { return is_idiom_book_; }

  ui::ListBox book_list_{"book_list"};
  ui::Button choose_book_button_{"choose_book_button"};
  ui::Button change_book_button_{"change_book_button"};
  books::WordBook book_;

 private:
  std::span<const books::CatalogueEntry> catalogue_;
  std::string book_label_;
  bool is_idiom_book_ = false;
};

}  // namespace shell
