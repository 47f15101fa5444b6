#include "shell/book_choice.h"

#include <utility>

#include "books/loader.h"
#include "shell/mode_window.h"

namespace shell {

BookChoice::BookChoice(ui::Window& window, ui::Platform& platform,
                       std::span<const books::CatalogueEntry> catalogue,
                       std::function<void()> choose, std::function<void()> change)
    : platform_(platform), catalogue_(catalogue) {
  window.Add(list_);
  window.Add(choose_button_);
  window.Add(change_button_);
  choose_button_.on_click = choose;
  list_.on_dbl_click = std::move(choose);
  change_button_.on_click = std::move(change);
  PressOnEnter(list_, choose_button_);
}

void BookChoice::SetUp(const std::string& choose_caption, const std::string& change_caption) {
  list_.Move(kBookListLeft, kBookListTop, kBookListWidth, kBookListHeight);
  list_.SetAccessibleName("词库");
  choose_button_.Move(kChooseBookLeft, kChooseBookTop, kButtonWidth, kButtonHeight);
  PlaceColumnButton(change_button_, kSecondButtonTop, change_caption);
  for (const books::CatalogueEntry& entry : catalogue_) list_.AddItem(std::string(entry.label));
  choose_button_.SetCaption(choose_caption);
}

void BookChoice::ReadChosen() {
  loaded_.label = list_.Text();
  const books::CatalogueEntry* entry = books::FindEntry(catalogue_, loaded_.label);
  if (!entry) {
    platform_.ShowMessage(std::string(books::kDamagedMessage));
    platform_.EndProgram();
  }
  const std::string beside_program = books::BookFilePath(platform_.ProgramDirectory(), *entry);
  const std::string path =
      entry->kind == books::BookKind::OwnBook
          ? books::OwnBookPath(platform_.ProgramDirectory(), platform_.UserDataDirectory())
          : beside_program;
  const books::BookLoad loaded = books::ReadWordBook(path, *entry, loaded_.book);
  if (!loaded) {
    // The messages send the user to the book beside the program; a user's own copy elsewhere
    // is named, so that the user knows which file to mend.
    std::string message = loaded.Failed().reason;
    if (path != beside_program && message.find(path) == std::string::npos)
      message += "\r\n请检查文件：" + path;
    platform_.ShowMessage(message);
    platform_.EndProgram();
  }
}

}  // namespace shell
