#include "booktool/progress_command.h"

#include <ctime>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <vector>

#include "books/catalogue.h"
#include "booktool/export_command.h"
#include "progress/journal.h"

namespace booktool {
namespace {

const char* StateName(progress::CardState state) {
  switch (state) {
    case progress::CardState::New:
      return "new";
    case progress::CardState::Learning:
      return "learning";
    case progress::CardState::Review:
      return "review";
    case progress::CardState::Relearning:
      return "relearning";
  }
  return "";
}

// A time as the learner's clock shows it: "2026-12-08 14:05".
std::string LocalTime(std::int64_t seconds) {
  const auto when = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (!localtime_r(&when, &local)) return "?";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

// One line a word: when it is due, its state, answers and misses, then its two sides and the
// book it was last practised from, tab separated.
void PrintWords(const std::vector<progress::JournalWord>& words, std::ostream& out) {
  out << "due\tstate\tanswers\tmissed\tenglish\tchinese\tbook\n";
  for (const progress::JournalWord& w : words)
    out << LocalTime(w.card.due) << "\t" << StateName(w.card.state) << "\t" << w.card.reps << "\t"
        << w.misses << "\t" << w.english << "\t" << w.chinese << "\t" << w.book << "\n";
}

// The journal's own files: the journal, its log and the log's index.
std::vector<std::filesystem::path> JournalFiles(const std::filesystem::path& journal) {
  std::filesystem::path log = journal, index = journal;
  return {journal, log += "-wal", index += "-shm"};
}

// Whether `output` names one of `files` once its links are followed, whether the file is there
// or not (a log is only there while a program has the journal open).
bool NamesOneOf(const std::string& output, const std::vector<std::filesystem::path>& files) {
  std::filesystem::path path = output;
  std::error_code error;
  for (int links = 0; links < 40 && std::filesystem::is_symlink(path, error); ++links) {
    const std::filesystem::path to = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = to.is_absolute() ? to : path.parent_path() / to;
  }
  const std::filesystem::path named = std::filesystem::weakly_canonical(path, error);
  for (const std::filesystem::path& file : files)
    if (std::filesystem::weakly_canonical(file, error) == named) return true;
  return false;
}

// Where the words go: a word list when OUT or --format asks for one (never onto one of the
// journal's files, by name, link or inode), none for a listing.
std::optional<Result<ListDestination>> DestinationFor(const Arguments& args,
                                                      const std::filesystem::path& journal) {
  if (args.files.empty() && !args.format) return std::nullopt;
  const std::string out = args.files.empty() ? "-" : args.files[0];
  const std::vector<std::filesystem::path> files = JournalFiles(journal);
  if (out != "-" && NamesOneOf(out, files))
    return Failure{"is one of the journal's files (" + journal.string() +
                       ", its -wal or its -shm); they are never written, with --force or "
                       "without",
                   0, out};
  return ListDestinationFor(args, out, {files.begin(), files.end()});
}

int RunProgress(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.files.size() > 1) return UsageError(kProgressCommand, kTooManyFiles, err);
  if (args.due && args.missed)
    return UsageError(kProgressCommand, "--due and --missed choose different words", err);
  const progress::Listing listing = args.due      ? progress::Listing::Due
                                    : args.missed ? progress::Listing::Missed
                                                  : progress::Listing::All;
  const std::filesystem::path path = progress::JournalPath(books::UserDataDirectory());
  if (path.empty()) return Refuse({"no data folder: " + std::string(kNoDataFolder)}, err);
  std::error_code missing;
  if (!std::filesystem::exists(path, missing))
    return Refuse({"no journal yet: play a round first", 0, path.string()}, err);

  const std::optional<Result<ListDestination>> destination = DestinationFor(args, path);
  if (destination && !destination->Ok()) {
    const Failure& refusal = destination->Failed();
    if (refusal.file.empty()) return UsageError(kProgressCommand, refusal.reason, err);
    return Refuse(refusal, err);
  }
  // Read only: a journal that is damaged, or cannot be read, is refused as it is.
  progress::JournalReader journal(path);
  const progress::JournalResult<> sound = journal.Check();
  if (!sound) return Refuse({sound.Failed().reason, 0, path.string()}, err);
  const progress::JournalResult<std::vector<progress::JournalWord>> words =
      journal.List(listing, static_cast<std::int64_t>(std::time(nullptr)));
  if (!words) return Refuse({words.Failed().reason, 0, path.string()}, err);
  if (!destination) {
    PrintWords(*words, out);
    return kExitGood;
  }
  std::vector<ListRecord> records;
  for (const progress::JournalWord& w : *words) records.push_back({0, w.english, w.chinese});
  return WriteList(records, path.string(), "Vantle 学习记录", **destination, out, err);
}

}  // namespace

constexpr Command kProgressCommand = {
    "progress",
    "vantle-book progress [--due|--missed] [OUT] [--format csv|flashcards|kvtml] [--force]",
    "lists the words of your journal, or writes them for other programs",
    "Lists the words of your journal (progress.sqlite3 in $XDG_DATA_HOME/vantle, or\n"
    "~/.local/share/vantle): every word, English order; with --due those whose time has come,\n"
    "earliest first; with --missed those you ever missed, most misses first. Each line gives\n"
    "when the word is due (local time), its state (new, learning, review, relearning), the\n"
    "answers given and the misses among them, the English entry, the meaning and the book it\n"
    "was last practised from, tab separated.\n"
    "With OUT, or --format, the words are written as a word list instead, as export writes a\n"
    "book: CSV, flash-card text or KVTML, the form from OUT's extension or --format (OUT \"-\"\n"
    "is standard output). OUT is written atomically; an existing file is replaced only with\n"
    "--force. The journal is read, never written.\n"
    "Exit status: 0 listed or written, 1 refused (no journal, or one that cannot be read),\n"
    "2 bad usage.\n",
    &RunProgress,
};

}  // namespace booktool
