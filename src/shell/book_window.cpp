#include "shell/book_window.h"

#include "books/loader.h"
#include "shell/shell.h"

namespace shell {

BookWindow::BookWindow(Shell& shell, const std::string& name,
                       std::span<const books::CatalogueEntry> catalogue, int column_rows)
    : ModeWindow(shell, name, column_rows), catalogue_(catalogue) {
  window_.Add(book_list_);
  window_.Add(choose_book_button_);
  window_.Add(change_book_button_);
  choose_book_button_.on_click = [this] { LoadWordBook(); };
  book_list_.on_dbl_click = [this] { LoadWordBook(); };
  change_book_button_.on_click = [this] { ShowBookChoice(); };
  PressOnEnter(book_list_, choose_book_button_);
}

void BookWindow::PressOnEnter(ui::ListBox& list, ui::Button& button) {
  list.on_key_press = [&list, &button](int key) {
    if (key == ui::kEnterKey && list.ListIndex() >= 0) button.Click();
  };
}

void BookWindow::SetUpBookControls(const std::string& choose_caption,
                                   const std::string& change_caption) {
  book_list_.Move(kBookListLeft, kBookListTop, kBookListWidth, kBookListHeight);
  book_list_.SetAccessibleName("词库");
  choose_book_button_.Move(kChooseBookLeft, kChooseBookTop, kButtonWidth, kButtonHeight);
  PlaceColumnButton(change_book_button_, kSecondButtonTop, change_caption);
  for (const books::CatalogueEntry& entry : catalogue_)
    book_list_.AddItem(std::string(entry.label));
  choose_book_button_.SetCaption(choose_caption);
}

void BookWindow::ReadSelectedBook() {
  book_label_ = book_list_.Text();
  is_idiom_book_ = book_label_ == books::kIdiomBookLabel;
  const books::CatalogueEntry* entry = books::FindEntry(catalogue_, book_label_);
  if (!entry) {
    platform_.ShowMessage(std::string(books::kDamagedMessage));
    EndProgram();
  }
  const std::string beside_program = books::BookFilePath(platform_.ProgramDirectory(), *entry);
  const std::string path =
      entry->kind == books::BookKind::OwnBook
          ? books::OwnBookPath(platform_.ProgramDirectory(), platform_.UserDataDirectory())
          : beside_program;
  const books::BookLoad loaded = books::ReadWordBook(path, *entry, book_);
  if (!loaded) {
    // The messages send the user to the book beside the program; a user's own copy elsewhere
    // is named, so that the user knows which file to mend.
    std::string message = loaded.Failed().reason;
    if (path != beside_program && message.find(path) == std::string::npos)
      message += "\r\n请检查文件：" + path;
    platform_.ShowMessage(message);
    EndProgram();
  }
}

}  // namespace shell
