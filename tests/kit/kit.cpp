#include "kit/kit.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>

#include "books/gbk.h"
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
  auto per_char = static_cast<int>(font.Size * 20);
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

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vantle-test-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  if (!made) throw std::runtime_error("mkdtemp failed");
  path_ = made;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

namespace {
void SetEnv(const char* name, const char* value) {
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
}
}  // namespace

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = getenv(name)) old_ = old;
  SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() {
  SetEnv(name_, old_ ? old_->c_str() : nullptr);
}

std::string Numbered(std::string_view prefix, int number, std::string_view suffix) {
  std::string out(prefix);
  out.append(std::to_string(number)).append(suffix);
  return out;
}

std::string Gbk(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(books::EncodeGbk(utf8, out)) << "not GBK: " << utf8;
  return out;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream f(path, std::ios::binary);
  f << bytes;
}

std::string GbkLines(const std::vector<std::string>& utf8_lines) {
  std::string out;
  for (const std::string& line : utf8_lines) out += Gbk(line) + "\r\n";
  return out;
}

int RowOf(const ui::ListBox& list, std::string_view item) {
  const auto& items = list.Items();
  const auto it = std::find(items.begin(), items.end(), item);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void WriteOwnBook(const std::filesystem::path& dir, const std::vector<Record>& records) {
  std::vector<std::string> lines;
  for (const auto& [english, chinese] : records) {
    lines.push_back(english);
    lines.push_back(chinese);
  }
  WriteFile(dir / "《My词库》.txt", GbkLines(lines));
}

}  // namespace kit
