#include "shell/book_window.h"

#include "books/loader.h"
#include "shell/shell.h"

namespace shell {

BookWindow::BookWindow(Shell& shell, const std::string& form_name,
                       std::span<const books::CatalogueEntry> catalogue)
    : ModeWindow(shell, form_name), catalogue_(catalogue) {
  for (ui::Control* c :
       std::initializer_list<ui::Control*>{&List1, &Command3, &Command5, &Command6})
    form_.Add(*c);
  Command3.OnClick = [this] { Command3_Click(); };
  List1.OnDblClick = [this] { List1_DblClick(); };
  Command6.OnClick = [this] { Command6_Click(); };
  PressOnEnter(List1, Command3);
}

void BookWindow::PressOnEnter(ui::ListBox& list, ui::Button& button) {
  list.OnKeyPress = [&list, &button](int key) {
    if (key == ui::kEnterKey && list.ListIndex() >= 0) button.Click();
  };
}

void BookWindow::SetUpBookControls(const std::string& load_caption, const std::string& caption5,
                                   const std::string& caption6) {
  List1.Move(4400, 1500, 3400, 4000);
  List1.SetAccessibleName("词库");
  Command3.Move(5500, 6000, kButtonWidth, kButtonHeight);
  Command5.Move(kColumnLeft, 1300, kButtonWidth, kButtonHeight);
  Command6.Move(kColumnLeft, 1675, kButtonWidth, kButtonHeight);
  FillBookList();
  Command3.SetCaption(load_caption);
  Command5.SetCaption(caption5);
  Command6.SetCaption(caption6);
}

void BookWindow::FillBookList() {
  for (const books::CatalogueEntry& entry : catalogue_) List1.AddItem(std::string(entry.Label));
}

void BookWindow::ReadSelectedBook() {
  const books::CatalogueEntry* entry = books::FindEntry(catalogue_, List1.Text());
  if (!entry) {
    platform_.ShowMessage(std::string(books::kDamagedMessage));
    EndProgram();
  }
  const std::string beside_program = books::BookFilePath(platform_.ProgramDirectory(), *entry);
  const std::string path =
      entry->Kind == books::BookKind::OwnBook
          ? books::OwnBookPath(platform_.ProgramDirectory(), platform_.UserDataDirectory())
          : beside_program;
  books::LoadResult result = books::ReadWordBook(path, *entry, Book);
  if (!result.Ok()) {
    // The messages send the user to the book beside the program; a user's own copy elsewhere
    // is named, so that the user knows which file to mend.
    std::string message = result.Message;
    if (path != beside_program && message.find(path) == std::string::npos)
      message += "\r\n请检查文件：" + path;
    platform_.ShowMessage(message);
    EndProgram();
  }
}

}  // namespace shell
