#include "kit/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <random>
#include <stdexcept>

#include "books/gbk.h"
#include "os/os.h"
#include "text/text.h"

namespace kit {

TempDir::TempDir() {
  // A new folder of its own: its name is drawn until no other has it.
  static std::random_device seed;
  std::mt19937_64 draw(seed());
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::filesystem::path made =
        base / Numbered("vantle-test-", static_cast<int>(draw() % 1000000000), "");
    std::error_code error;
    if (std::filesystem::create_directory(made, error)) {
      path_ = made;
      return;
    }
  }
  throw std::runtime_error("no temporary folder could be made");
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

namespace {
void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
  _putenv_s(name, value ? value : "");
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
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
  return text::Concat({prefix, std::to_string(number), suffix});
}

std::string Gbk(const std::string& utf8) {
  const std::optional<std::string> gbk = books::EncodeGbk(utf8);
  EXPECT_TRUE(gbk.has_value()) << "not GBK: " << utf8;
  return gbk.value_or(std::string());
}

std::filesystem::path Named(const std::filesystem::path& path) {
#ifdef _WIN32
  // libstdc++ on Windows widens a narrow name byte by byte; the tests write their names in
  // UTF-8, as the program's own names are, so the kit takes such a widened name as UTF-8.
  std::string bytes;
  for (const wchar_t c : path.native()) {
    if (c > 0xFF) return path;
    bytes += static_cast<char>(c);
  }
  if (text::IsAscii(bytes) || !text::IsValidUtf8(bytes)) return path;
  return os::PathOf(bytes);
#else
  return path;
#endif
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  const std::filesystem::path named = Named(path);
  std::filesystem::create_directories(named.parent_path());
  std::ofstream f(named, std::ios::binary);
  f << bytes;
}

std::string GbkLines(const std::vector<std::string>& utf8_lines) {
  std::string out;
  for (const std::string& line : utf8_lines) out += Gbk(line) + "\r\n";
  return out;
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
