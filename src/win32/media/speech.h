// Speech on Windows: SAPI's ISpVoice, made on first use (Start or Say) in the windows' thread
// and speaking asynchronously, so that a request returns at once; a new request cuts off the
// one before. Where SAPI is missing, has no English voice or answers an error, the state says
// so and nothing is said; the next request after an error opens the engine again.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/platform.h"
#include "view/wording.h"

namespace win32 {

class Speech {
 public:
  // Where the engine stands, in the words the menus share.
  using Status = view::SpeechStatus;

  Speech();
  ~Speech();
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Opens the engine unless it is open.
  void Start();
  // Says `utf8`; returns at once. Chinese is said only with a Chinese voice.
  void Say(const std::string& utf8, ui::Language language);
  Status State() const { return status_; }
  // The installed English voices, by name.
  std::vector<std::string> Voices() const { return voices_; }
  // The English voice to speak with; "" for the first English voice.
  void SetVoice(const std::string& name) { voice_ = name; }

  // Called in the windows' thread whenever State() or Voices() change.
  std::function<void()> on_state_changed;

 private:
  struct Engine;
  void Open();
  void Report(Status status);

  Status status_ = Status::Idle;
  std::vector<std::string> voices_;
  std::string voice_;
  bool com_started_ = false;
  std::unique_ptr<Engine> engine_;  // null until opened, and again after an error
};

}  // namespace win32
