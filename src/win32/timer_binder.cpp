// A timer shows nothing: it runs a thread timer while the model's timer runs, from the start
// (a timer may run before its window shows). Its ticks go through the platform, which drops
// them while a handler runs.
#include <windows.h>

#include <unordered_map>

#include "win32/binder.h"
#include "win32/win32_platform.h"

namespace win32 {
namespace {

class TimerBinder : public Binder {
 public:
  TimerBinder(ui::Timer& model, BinderHost& host) : Binder(model, host), model_(model) {
    Apply(ui::Property::Timer);
  }
  ~TimerBinder() override { Stop(); }

  bool MakesWindow() const override { return false; }
  HWND Create(HWND) override { return nullptr; }

  void Stop() override {
    if (!id_) return;
    KillTimer(nullptr, id_);
    Running().erase(id_);
    id_ = 0;
    interval_ = 0;
  }

  void Apply(ui::Property) override {
    const bool runs = model_.Enabled() && model_.Interval() > 0;
    if (runs && id_ && interval_ == model_.Interval()) return;
    Stop();
    if (!runs) return;
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(model_.Interval()), &TimerBinder::Tick);
    interval_ = model_.Interval();
    Running()[id_] = this;
  }

 private:
  // Thread timers by their ids.
  static std::unordered_map<UINT_PTR, TimerBinder*>& Running() {
    static std::unordered_map<UINT_PTR, TimerBinder*> running;
    return running;
  }

  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = Running().find(id);
    if (it == Running().end()) return;
    TimerBinder* self = it->second;
    self->host_.Platform().DeliverTick([self] { self->model_.Tick(); });
  }

  ui::Timer& model_;
  UINT_PTR id_ = 0;
  int interval_ = 0;
};

}  // namespace

std::unique_ptr<Binder> MakeTimerBinder(ui::Timer& timer, BinderHost& host) {
  return std::make_unique<TimerBinder>(timer, host);
}

}  // namespace win32
