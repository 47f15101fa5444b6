#include "kit/files.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <stdexcept>

#include "books/gbk.h"
#include "text/text.h"

namespace kit {

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
  return text::Concat({prefix, std::to_string(number), suffix});
}

std::string Gbk(const std::string& utf8) {
  const std::optional<std::string> gbk = books::EncodeGbk(utf8);
  EXPECT_TRUE(gbk.has_value()) << "not GBK: " << utf8;
  return gbk.value_or(std::string());
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

void WriteOwnBook(const std::filesystem::path& dir, const std::vector<Record>& records) {
  std::vector<std::string> lines;
  for (const auto& [english, chinese] : records) {
    lines.push_back(english);
    lines.push_back(chinese);
  }
  WriteFile(dir / "《My词库》.txt", GbkLines(lines));
}

}  // namespace kit
