// Test kit, files part: temporary folders, the environment and GBK word-book files. It
// needs the word books alone, so the books and tool tests use it without the windowing layer.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kit {

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string Str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// Sets an environment variable (unsets it for null) and puts the old value back with the
// object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// prefix, the number, suffix: "w7", "第7义".
std::string Numbered(std::string_view prefix, int number, std::string_view suffix = {});

// UTF-8 text as GBK bytes (the test fails on text GBK cannot hold).
std::string Gbk(const std::string& utf8);
// The file a test names: its own name, read as UTF-8 on every system.
std::filesystem::path Named(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// A book file's bytes: the lines in GBK, each ended by CR LF.
std::string GbkLines(const std::vector<std::string>& utf8_lines);

// An English entry and its Chinese meaning.
using Record = std::pair<std::string, std::string>;
// Writes the own book 《My词库》.txt into `dir`, two GBK lines a record.
void WriteOwnBook(const std::filesystem::path& dir, const std::vector<Record>& records);

}  // namespace kit
