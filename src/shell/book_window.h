// The windows that read word books (match game, quiz, dictionary): the book list, the load
// button, the two buttons at the top of the left column, and the window's own word book.
#pragma once

#include <span>
#include <string>

#include "books/catalogue.h"
#include "books/word_book.h"
#include "shell/mode_window.h"

namespace shell {

class BookWindow : public ModeWindow {
 public:
  BookWindow(Shell& shell, const std::string& form_name,
             std::span<const books::CatalogueEntry> catalogue);

  ui::ListBox List1{"List1"};
  ui::Button Command3{"Command3"};
  ui::Button Command5{"Command5"};
  ui::Button Command6{"Command6"};

  books::WordBook Book;

  // The window's book choice, and loading the book selected in List1, as each window does them.
  virtual void ShowBookChoice() = 0;
  virtual void LoadWordBook() = 0;
  void Command3_Click() { LoadWordBook(); }
  void List1_DblClick() { LoadWordBook(); }
  void Command6_Click() { ShowBookChoice(); }

 protected:
  // Enter in `list` presses `button`, the one beside it, but only while a row is chosen.
  static void PressOnEnter(ui::ListBox& list, ui::Button& button);
  // Places List1, Command3, Command5 and Command6, captions them and fills List1.
  void SetUpBookControls(const std::string& load_caption, const std::string& caption5,
                         const std::string& caption6);
  // Appends the window's catalogue to List1, in catalogue order, nothing selected.
  void FillBookList();
  // Reads the book selected in List1 into Book. Any failure shows its message and ends the
  // program, so on return the book is loaded.
  void ReadSelectedBook();

 private:
  std::span<const books::CatalogueEntry> catalogue_;
};

}  // namespace shell
