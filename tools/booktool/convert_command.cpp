#include "booktool/convert_command.h"

#include "booktool/book_list.h"
#include "booktool/files.h"
#include "booktool/write_book.h"

namespace booktool {
namespace {

// The user's own book, its folder made; refused when there is no user folder or it cannot be
// made.
Result<std::string> UserOwnBookMade() {
  const std::string book = UserOwnBook();
  if (book.empty())
    return Failure{"no folder for the user's own book: " + std::string(kNoDataFolder)};
  if (const Result<> made = MakeFolderFor(book); !made) return made.Failed();
  return book;
}

int RunConvert(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.own && args.label)
    return UsageError(kConvertCommand, "--own makes the own book and takes no --label", err);
  const std::size_t want = args.own ? 1 : 2;
  if (args.files.size() != want)
    return UsageError(kConvertCommand, args.files.size() < want ? kTooFewFiles : kTooManyFiles,
                      err);
  const std::string& in = args.files[0];
  std::string book = args.own ? std::string() : args.files[1];
  if (args.own) {
    const Result<std::string> made = UserOwnBookMade();
    if (!made.Ok()) return Refuse(made.Failed(), err);
    book = *made;
  }
  const Result<const books::CatalogueEntry*> entry = EntryFor(args.label, book);
  if (!entry.Ok()) return UsageError(kConvertCommand, entry.Failed().reason, err);

  const WriteTarget target{.path = book, .force = args.force, .inputs = {in}};
  if (const Result<> free = CheckTarget(target); !free.Ok()) return Refuse(free.Failed(), err);
  const Result<std::string> text = ReadWholeFile(in);
  if (!text.Ok()) return Refuse(text.Failed(), err);
  Result<std::vector<ListRecord>, ListFailure> list = ParseList(*text, (*entry)->kind);
  if (list) return WriteBook(*list, **entry, in, target, out, err);
  // The lines that read are encoded too, so that one run names every fault.
  return WriteBook(list.Failed().readable, **entry, in, target, out, err, list.Failed().faults);
}

}  // namespace

constexpr Command kConvertCommand = {
    "convert",
    "vantle-book convert IN.tsv OUT [--label LABEL] [--force]\n"
    "vantle-book convert IN.tsv --own [--force]",
    "makes a book from a UTF-8 list",
    "Makes the book OUT from the UTF-8 list IN.tsv: one record a line, english<TAB>chinese,\n"
    "with the escapes \\\\ \\t \\r \\n inside fields (what dump prints); for the idiom book one\n"
    "idiom a line, or its two halves as dump prints them. Empty lines are skipped. The book\n"
    "is written in GBK with CR LF line ends; in catalogue books the first character of every\n"
    "English entry but the first is stored lowered by one, as the program expects.\n"
    "Refused, with the line number: text GBK cannot hold, an empty English entry where the\n"
    "first character is to be lowered, a meaning ending in 0, 1 or a space (the program\n"
    "removes those), a wrong number of records for a catalogue label (the own book takes 2 to\n"
    "30000). Every bad line is named, the first 100 of them in one run, so that a list can be\n"
    "put right at once. OUT is written through a temporary file and read back with the\n"
    "program's loader before it takes the name; an existing OUT is replaced only with --force,\n"
    "and never when it is IN itself. A new OUT takes the permissions your umask gives.\n"
    "With --own instead of OUT, the list becomes the user's own book, which the program\n"
    "reads instead of the one beside it: $XDG_DATA_HOME/vantle/《My词库》.txt, or\n"
    "~/.local/share/vantle/《My词库》.txt when XDG_DATA_HOME is unset; its folder is made.\n",
    &RunConvert,
};

}  // namespace booktool
