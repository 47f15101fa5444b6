// A damaged journal: found before anything is written to it, copied byte for byte (with its
// log and the log's index) under a name with the time, and what SQLite can still read of it
// carried into a new journal in its place. Nothing of the learner's is ever deleted.
#pragma once

#include <filesystem>
#include <string>

#include "progress/journal.h"

namespace progress {

enum class Health {
  Sound,
  DamagedLog,  // the log holds committed answers past a damaged part, which SQLite skips
  Damaged,     // SQLite finds the file, as its log leaves it, damaged
};

// How the journal at `path` reads, found without writing it: its log by its checksums, its
// pages by SQLite's quick check. No file is sound. Fails when the file cannot be read at all,
// or is of a newer schema.
JournalResult<Health> Examine(const std::filesystem::path& path);

// Whether the write-ahead log at `log` holds a committed transaction past a frame SQLite
// cannot use (a bad checksum), which SQLite would then drop without a word.
bool LogLosesAnswers(const std::filesystem::path& log);

// Makes the journal at `path` fit to write (its folder ready, see ReadyToWrite): a damaged
// journal is copied aside and replaced by one holding every row that could be read of it; a
// damaged log is copied aside. Gives the line that tells the learner, empty when all was well.
JournalResult<std::string> MakeFitToWrite(const std::filesystem::path& path);

}  // namespace progress
