// The learner's settings file, %APPDATA%\Vantle\vantle.ini (or another file a test names):
// 记录学习进度, 自动朗读 and the chosen voice. Each value is read on first need and written only
// when it changes.
#pragma once

#include <optional>
#include <string>

namespace win32 {

class Settings {
 public:
  // `file` is a UTF-8 path; its folder is made when the first value is written.
  explicit Settings(std::string file) : file_(std::move(file)) {}

  bool RecordsProgress() { return Flag(record_, L"progress", L"record", true); }
  void SetRecordsProgress(bool on) { SetFlag(record_, L"progress", L"record", on, true); }
  bool AutoSpeak() { return Flag(auto_speak_, L"speech", L"auto", false); }
  void SetAutoSpeak(bool on) { SetFlag(auto_speak_, L"speech", L"auto", on, false); }
  // The English voice chosen; "" for the engine's default.
  std::string Voice();
  void SetVoice(const std::string& name);

 private:
  bool Flag(std::optional<bool>& kept, const wchar_t* section, const wchar_t* key, bool fallback);
  void SetFlag(std::optional<bool>& kept, const wchar_t* section, const wchar_t* key, bool on,
               bool fallback);
  std::wstring Read(const wchar_t* section, const wchar_t* key) const;
  void Write(const wchar_t* section, const wchar_t* key, const std::wstring& value) const;

  std::string file_;
  std::optional<bool> record_;
  std::optional<bool> auto_speak_;
  std::optional<std::string> voice_;
};

}  // namespace win32
