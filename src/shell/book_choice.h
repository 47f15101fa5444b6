// The part of a window that reads word books (match game, quiz, dictionary): the book list,
// the button that loads the chosen book, the button back to the list, and the book loaded.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "books/catalogue.h"
#include "books/word_book.h"
#include "ui/control.h"
#include "ui/platform.h"
#include "ui/window.h"

namespace shell {

// Where the book list and its button stand.
inline constexpr int kBookListLeft = 4400;
inline constexpr int kBookListTop = 1500;
inline constexpr int kBookListWidth = 3400;
inline constexpr int kBookListHeight = 4000;
inline constexpr int kChooseBookLeft = 5500;
inline constexpr int kChooseBookTop = 6000;

// A word book as a window loaded it: the label it is listed under, and its words.
struct LoadedBook {
  std::string label;  // empty before the first load
  books::WordBook book;
  // Whether it is the idiom book, whose lines are cut in two.
  bool IsIdiomBook() const { return label == books::kIdiomBookLabel; }
};

class BookChoice {
 public:
  // Adds the controls to `window`, listing `catalogue`. "选书" (or a double click, or Enter
  // on a chosen row) calls `choose`, the button back to the list `change`.
  BookChoice(ui::Window& window, ui::Platform& platform,
             std::span<const books::CatalogueEntry> catalogue, std::function<void()> choose,
             std::function<void()> change);
  BookChoice(const BookChoice&) = delete;
  BookChoice& operator=(const BookChoice&) = delete;

  // Places the list, its button and the button back to it, captions them and fills the list.
  void SetUp(const std::string& choose_caption, const std::string& change_caption);
  // Reads the book chosen in the list. Any failure shows its message and ends the program,
  // so on return the book is loaded.
  void ReadChosen();

  const LoadedBook& Loaded() const { return loaded_; }
  // The controls, for the window's screen table.
  ui::ListBox& List() { return list_; }
  ui::Button& ChooseButton() { return choose_button_; }
  ui::Button& ChangeButton() { return change_button_; }

 private:
  ui::Platform& platform_;
  std::span<const books::CatalogueEntry> catalogue_;
  ui::ListBox list_{"book_list"};
  ui::Button choose_button_{"choose_book_button"};
  ui::Button change_button_{"change_book_button"};
  LoadedBook loaded_;
};

}  // namespace shell
