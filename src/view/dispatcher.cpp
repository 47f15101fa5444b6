#include "view/dispatcher.h"

#include <exception>

#include "ui/platform.h"
#include "view/wording.h"

namespace view {

void Dispatcher::Deliver(const std::function<void()>& event) {
  if (!Accepting()) return;
  ++depth_;
  try {
    event();
  } catch (const ui::ProgramEnded&) {
    ended_ = true;
  } catch (const std::exception& e) {
    Fail(e.what());
  } catch (...) {
    Fail("unknown error");
  }
  --depth_;
  if (depth_ > 0 || !Accepting()) return;
  // After an answered message the focus goes to the control the user acts on next.
  const bool to_next = message_answered_;
  message_answered_ = false;
  binding_.settle_focus(to_next);
}

void Dispatcher::DeliverTick(const std::function<void()>& tick) {
  if (depth_ > 0) return;
  Deliver(tick);
}

void Dispatcher::Fail(const std::string& what) {
  if (ended_) return;
  failed_ = true;
  try {
    binding_.show_failure(FailureMessage(what));
  } catch (...) {
    // Nothing more can be said; the program still ends.
  }
  binding_.end_program();
}

}  // namespace view
