// The commands of vantle-book: check, dump, convert, import and where.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "books/catalogue.h"
#include "booktool/book_check.h"
#include "booktool/book_list.h"

namespace booktool {

inline constexpr int kExitGood = 0;
inline constexpr int kExitRefused = 1;
inline constexpr int kExitUsage = 2;

// Runs vantle-book with its arguments (without the program name); returns the exit code.
int RunBookTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes `bytes` to `path` through a temporary file beside the file written, which `verify`
// (when given) may read first. A missing file is made; an existing regular file is replaced
// only with `force`, keeping its permissions; a symbolic link is followed and the file it
// points to written the same way; anything else (a folder, a device, a FIFO, a socket) is
// refused, `force` or not. False with `error` when anything fails; the temporary file is gone
// either way. `written` (when given) receives the path of the file written.
bool WriteAtomically(
    const std::string& path, const std::string& bytes, bool force, std::string& error,
    const std::function<bool(const std::string& temp, std::string& error)>& verify = {},
    std::string* written = nullptr);

// Where writing `path` would land (symbolic links followed), and whether it may: false with
// `error` for an existing file without `force`, or for anything that is not a regular file.
bool WritableTarget(const std::string& path, bool force, std::string& resolved, bool& exists,
                    std::string& error);

// " into TARGET, where the link points" when a link made the file `written` another than `path`.
std::string LinkNote(const std::string& path, const std::string& written);

// Reads the whole file at `path`; false with `error` (naming the path) when it cannot.
bool ReadWhole(const std::string& path, std::string& bytes, std::string& error);

// Prints the warnings about the book `name`, at most 20 of a kind.
void PrintWarnings(const std::string& name, const std::vector<Warning>& warnings,
                   std::ostream& out);

// "SOURCE:LINE: refused: REASON" on `err`.
void PrintRefusal(const std::string& source, const Refusal& refusal, std::ostream& err);

// Every refusal kept, then how many more there were.
void PrintRefusals(const std::string& source, const Refusals& refusals, std::ostream& err);

// True when `target` may be written (see WritableTarget); else says why on `err`.
bool TargetFree(const std::string& target, bool force, std::ostream& err);

// Makes the book `target` for `entry` from `records` (read from `source`): encodes it, writes it
// atomically, reads it back with the program's loader, says what was written and warns as check
// does. What reading the list refused (`refused`) is reported together with what encoding
// finds, and nothing is written then. Returns the exit code.
int WriteBook(const std::vector<ListRecord>& records, const books::CatalogueEntry& entry,
              const std::string& source, const std::string& target, bool force, std::ostream& out,
              std::ostream& err, Refusals refused = {});

// The user's own book, which the program reads instead of the one beside it; empty when
// neither XDG_DATA_HOME nor HOME tells where it goes.
std::string UserOwnBook();

// vantle-book import and export with their arguments (the command first); return the exit
// code.
int RunImport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunExport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace booktool
