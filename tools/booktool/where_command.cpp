#include "booktool/where_command.h"

#include <filesystem>

#include "books/catalogue.h"
#include "booktool/book_list.h"

namespace booktool {
namespace {

// The folder of the program, which is where this tool's own executable really is.
std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path(ec).string() : self.parent_path().string();
}

int RunWhere(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (!args.files.empty()) return UsageError(kWhereCommand, kTooManyFiles, err);
  const std::string program = ProgramFolder(), user_book = UserOwnBook();
  out << "program folder: " << program << "\n"
      << "own book: " << books::OwnBookPath(program, books::UserDataDirectory()) << "\n"
      << "user's own book: "
      << (user_book.empty() ? "none (" + std::string(kNoDataFolder) + ")" : user_book) << "\n"
      << "Study/: " << program << "/Study\n"
      << "Pic/: " << program << "/Pic\n";
  return kExitGood;
}

}  // namespace

constexpr Command kWhereCommand = {
    "where",
    "vantle-book where",
    "prints the paths the program reads",
    "Prints the paths the program reads: its folder, the own book (the user's copy when it\n"
    "exists, else the one beside the program), the user's copy, Study/ and Pic/.\n",
    &RunWhere,
};

}  // namespace booktool
