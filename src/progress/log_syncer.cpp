#include "progress/log_syncer.h"

#include <utility>

namespace progress {

LogSyncer::LogSyncer(std::filesystem::path log)
    : log_(std::move(log)), thread_([this] { Run(); }) {}

LogSyncer::~LogSyncer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void LogSyncer::Committed() {
  {
    std::lock_guard lock(mutex_);
    ++committed_;
  }
  wake_.notify_one();
}

void LogSyncer::Wait() {
  std::unique_lock lock(mutex_);
  synced_.wait(lock, [this] { return on_disk_ >= committed_; });
}

int LogSyncer::TakeError() {
  std::lock_guard lock(mutex_);
  return std::exchange(error_, 0);
}

std::int64_t LogSyncer::Syncs() const {
  std::lock_guard lock(mutex_);
  return syncs_;
}

void LogSyncer::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || committed_ > on_disk_; });
    if (committed_ == on_disk_) return;  // stopping, and nothing is left to sync
    // One sync a commit, as SQLite itself would sync each one: the last of several commits
    // made at once is on the disk no later than if the caller had synced each.
    const std::int64_t target = on_disk_ + 1;
    lock.unlock();
    const int error = log_.Sync();
    lock.lock();
    on_disk_ = target;
    ++syncs_;
    if (error) error_ = error;
    synced_.notify_all();
  }
}

}  // namespace progress
