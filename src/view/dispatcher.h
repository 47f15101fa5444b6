// The one door through which user events reach the model, kept alike by both bindings: an
// event runs inside it, ui::ProgramEnded ends the event loop, any other failure is said in a
// message and ends the program, timer ticks are dropped while a handler (its modal message)
// runs, and the keyboard focus is settled once the event is handled.
#pragma once

#include <functional>
#include <string>

namespace view {

class Dispatcher {
 public:
  struct Binding {
    // Says a failure the program cannot go on from (a modal message).
    std::function<void(const std::string& message)> show_failure;
    // Ends the program: its windows shut, its event loop quits (see MarkEnded).
    std::function<void()> end_program;
    // Settles the keyboard focus after an event; `to_next` after an answered message.
    std::function<void(bool to_next)> settle_focus;
  };
  explicit Dispatcher(Binding binding) : binding_(std::move(binding)) {}

  // Delivers one user event to the model; after the program's end nothing is delivered.
  void Deliver(const std::function<void()>& event);
  // A timer tick: dropped while a handler is still running.
  void DeliverTick(const std::function<void()>& tick);

  // True while user events may still reach the model.
  bool Accepting() const { return live_ && !ended_; }
  bool Ended() const { return ended_; }
  // The program's exit status: 0, or 1 after a failure ended it.
  int ExitCode() const { return failed_ ? 1 : 0; }
  // The program ended (its binding's end_program runs this).
  void MarkEnded() { ended_ = true; }
  // The windows go: nothing is delivered from now on.
  void Close() { live_ = false; }
  // A message was answered during the current event.
  void MessageAnswered() { message_answered_ = true; }

 private:
  void Fail(const std::string& what);

  Binding binding_;
  int depth_ = 0;  // handlers running (more than one only through a modal message)
  bool ended_ = false;
  bool failed_ = false;
  bool live_ = true;
  bool message_answered_ = false;
};

// Sets a flag for as long as it lives, and puts back what it was (a binding applying a model
// change marks the toolkit's notifications meanwhile as none of the user's).
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag), saved_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = saved_; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace view
