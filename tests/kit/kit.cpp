#include "kit/kit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "text/text.h"

namespace kit {

std::string PicturePath(const ui::Window& window) {
  auto* p = dynamic_cast<const FakePicture*>(window.GetPicture().get());
  return p ? p->path : std::string();
}

void FakePlatform::ShowMessage(const std::string& text) {
  messages.push_back(text);
  if (on_message) on_message(text);
}

std::shared_ptr<const ui::Picture> FakePlatform::LoadPicture(const std::string& path) {
  picture_requests.push_back(path);
  if (!pictures_exist) return nullptr;
  return std::make_shared<FakePicture>(path);
}

ui::Size FakePlatform::MeasureText(const std::string& text, const ui::Font& font) {
  auto per_char = static_cast<int>(font.size * 20);
  return {static_cast<int>(text::CharCount(text)) * per_char, per_char * 3 / 2};
}

double ScriptedRandom::Next() {
  ++draws;
  if (script_.empty()) {
    if (!fallback) RunOut("past the end of the random script");
    if (++fallback_run_ > kLongestFallbackRun) RunOut("for the fallback too many times in a row");
    return *fallback;
  }
  fallback_run_ = 0;
  double r = script_.front();
  script_.pop_front();
  return r;
}

void ScriptedRandom::RunOut(const char* why) {
  ADD_FAILURE() << "draw " << draws << " asked " << why;
  throw ScriptRanOut();
}

bool Ends(const std::function<void()>& f) {
  try {
    f();
  } catch (const ui::ProgramEnded&) {
    return true;
  }
  return false;
}

std::vector<std::string> Controls::ShownNames() const {
  std::vector<std::string> names;
  for (const ui::Control* control : window_->Controls())
    if (control->Visible() && !dynamic_cast<const ui::Timer*>(control))
      names.push_back(control->Name());
  std::sort(names.begin(), names.end());
  return names;
}

int RowOf(const ui::ListBox& list, std::string_view item) {
  const auto& items = list.Items();
  const auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

}  // namespace kit
