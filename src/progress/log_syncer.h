// Keeps the journal's answers on the disk without holding up the screen. The journal commits
// each answer to its log (SQLite's write-ahead log) on the caller's thread, which puts it
// where a killed program cannot lose it; this syncer's thread then writes the log to the disk
// at once, so that a power loss cannot lose it either: one sync a commit, in order. The
// caller never waits for the disk.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <thread>

#include "progress/disk.h"

namespace progress {

class LogSyncer {
 public:
  explicit LogSyncer(std::filesystem::path log);
  // Syncs what is committed, then ends the thread.
  ~LogSyncer();
  LogSyncer(const LogSyncer&) = delete;
  LogSyncer& operator=(const LogSyncer&) = delete;

  // A commit was made: sync it.
  void Committed();
  // Returns once every commit made so far is on the disk, or its sync failed.
  void Wait();
  // The error number of a sync that failed since the last call, once; 0 when none did.
  int TakeError();
  // The syncs made so far.
  std::int64_t Syncs() const;

 private:
  void Run();

  disk::SyncedFile log_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable synced_;
  std::int64_t committed_ = 0;  // commits told
  std::int64_t on_disk_ = 0;    // commits synced (or whose sync failed)
  std::int64_t syncs_ = 0;
  int error_ = 0;
  bool stopping_ = false;
  std::thread thread_;  // last: starts once the rest is ready
};

}  // namespace progress
