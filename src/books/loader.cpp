#include "books/loader.h"

#include <algorithm>
#include <optional>

#include "books/gbk.h"
#include "books/rules.h"
#include "os/os.h"
#include "text/text.h"

namespace books {
namespace {

enum class ReadStatus { Line, End, NotText, TooLong, TooLarge, ReadError };

// Reads a book line by line; a line ends at CR, CR LF or LF.
class LineReader {
 public:
  explicit LineReader(const ReadBytes& read) : read_(read) {}
  bool IsOpen() const { return static_cast<bool>(read_); }
  int LineNumber() const { return line_; }

  ReadStatus Next(std::string& line) {
    line.clear();
    if (AtEnd()) return ReadStatus::End;
    ++line_;
    for (;;) {
      if (pos_ == size_ && !Fill())  // the last line may lack its terminator
        return stop_;
      const char* start = buffer_ + pos_;
      std::size_t n = size_ - pos_;
      std::size_t i = 0;
      while (i < n && start[i] != '\r' && start[i] != '\n' && start[i] != '\0') ++i;
      line.append(start, i);
      pos_ += i;
      if (line.size() > kMaxLineBytes) return ReadStatus::TooLong;
      if (i == n) continue;
      char c = buffer_[pos_++];
      if (c == '\0') return ReadStatus::NotText;
      if (c == '\r' && (pos_ < size_ || Fill()) && buffer_[pos_] == '\n') ++pos_;
      return ReadStatus::Line;
    }
  }

  // True when no byte is left. A file past the size limit or one that failed to read is
  // never at its end: the next read reports it.
  bool AtEnd() { return pos_ == size_ && !Fill() && stop_ == ReadStatus::Line; }

 private:
  bool Fill() {
    pos_ = size_ = 0;
    if (stop_ != ReadStatus::Line) return false;
    const std::ptrdiff_t n = read_(buffer_, sizeof buffer_);
    if (n < 0) {
      stop_ = ReadStatus::ReadError;
      return false;
    }
    size_ = static_cast<std::size_t>(n);
    total_ += size_;
    if (total_ > kMaxFileBytes) {
      stop_ = ReadStatus::TooLarge;
      size_ = 0;
    }
    return size_ > 0;
  }

  const ReadBytes& read_;
  char buffer_[64 * 1024];
  std::size_t pos_ = 0, size_ = 0, total_ = 0;
  // Line while reading may go on; TooLarge or ReadError once it may not.
  ReadStatus stop_ = ReadStatus::Line;
  int line_ = 0;
};

void StripMarkers(std::string& meaning) {
  while (EndsInMarker(meaning)) meaning.pop_back();
}

std::string Hint(const CatalogueEntry& entry) {
  return entry.kind == BookKind::OwnBook ? "请调整《My词库》" : "请重新解压";
}

class Loader {
 public:
  // An empty `read` stands for a file that could not be opened.
  Loader(const ReadBytes& read, const std::string& path, const CatalogueEntry& entry,
         WordBook& book)
      : path_(path), entry_(entry), book_(book), reader_(read) {}

  BookLoad Run() {
    book_.words.clear();
    book_.words.reserve(static_cast<std::size_t>(entry_.word_count));
    if (!reader_.IsOpen())
      return Fail(LoadFault::CannotOpen, "无法打开词库" + Label() + "\r\n请检查文件：" + path_);
    bool done = entry_.kind == BookKind::IdiomBook ? ReadIdioms() : ReadRecords();
    if (!done) return *failure_;
    if (entry_.kind == BookKind::OwnBook) DecodeOwnBook();
    decoding_.invalid_sequences = decoder_.InvalidSequences();
    // An own book holds as many records as it has; any other book exactly its count.
    if (entry_.kind != BookKind::OwnBook && record_ != entry_.word_count)
      return Fail(LoadFault::WrongCount, std::string(kDamagedMessage));
    return decoding_;
  }

 private:
  std::string Label() const { return std::string(entry_.label); }

  LoadFailure& Fail(LoadFault kind, std::string message) {
    LoadFailure& failure = failure_.emplace();
    failure.reason = std::move(message);
    failure.line = reader_.LineNumber();
    failure.file = path_;
    failure.kind = kind;
    failure.record = record_;
    failure.expected = entry_.word_count;
    // Complete records: the one being read when a line fails is not complete; a count
    // failure is reported once the records so far are complete. The book keeps those alone.
    const bool complete = kind == LoadFault::WrongCount || kind == LoadFault::TooManyRecords ||
                          kind == LoadFault::TooFewRecords;
    failure.found = complete ? record_ : std::max(record_ - 1, 0);
    book_.words.resize(static_cast<std::size_t>(failure.found));
    decoding_.invalid_sequences = decoder_.InvalidSequences();
    failure.decoded = decoding_;
    return failure;
  }

  // Reads one line; on a problem with the file itself records the failure and returns false.
  bool ReadLine(std::string& line) {
    switch (reader_.Next(line)) {
      case ReadStatus::Line:
        return true;
      case ReadStatus::End:
        return false;
      case ReadStatus::NotText:
        Fail(LoadFault::NotText, Label() + "不是文本文件（第 " +
                                     std::to_string(reader_.LineNumber()) + " 行含有空字符）\r\n" +
                                     Hint(entry_));
        return false;
      case ReadStatus::TooLong:
        Fail(LoadFault::LineTooLong,
             Label() + "第 " + std::to_string(reader_.LineNumber()) + " 行过长\r\n" + Hint(entry_));
        return false;
      case ReadStatus::ReadError:
        Fail(LoadFault::ReadError, "读取词库" + Label() + "时出错（第 " +
                                       std::to_string(reader_.LineNumber()) +
                                       " 行）\r\n请检查文件：" + path_);
        return false;
      case ReadStatus::TooLarge:
        break;
    }
    Fail(LoadFault::FileTooLarge, Label() + "文件过大（超过 64 MB）\r\n" + Hint(entry_));
    return false;
  }

  // Starts the next record; refuses it when the book has no room for it.
  bool NextRecord() {
    if (record_ == MaxRecords(entry_)) {
      LoadFailure& failure =
          entry_.kind == BookKind::OwnBook
              ? Fail(LoadFault::TooManyRecords, std::string(kOwnBookTooLargeMessage))
              : Fail(LoadFault::WrongCount, std::string(kDamagedMessage));
      // Where the record too many begins; it is never read.
      failure.line = reader_.LineNumber() + 1;
      failure.record = record_ + 1;
      return false;
    }
    ++record_;
    book_.words.emplace_back();
    return true;
  }

  bool FailEmpty() {
    if (!failure_) Fail(LoadFault::Empty, Label() + "中没有词条\r\n" + Hint(entry_));
    return false;
  }

  bool ReadIdioms() {
    std::string raw;
    do {
      if (!NextRecord()) return false;
      if (!ReadLine(raw)) return record_ == 1 ? FailEmpty() : false;
      Word& word = book_.words.back();
      CutIdiom(Decode(raw, reader_.LineNumber()), word.english, word.chinese);
    } while (!reader_.AtEnd());
    return true;
  }

  // Two-line records: the English line, then the meaning with its trailing markers.
  bool ReadRecords() {
    const bool own = entry_.kind == BookKind::OwnBook;
    std::string english, meaning;
    do {
      if (!NextRecord()) return false;
      if (!ReadLine(english)) return record_ == 1 ? FailEmpty() : false;
      if (!ReadLine(meaning)) {
        if (!failure_)
          Fail(LoadFault::EndsInsideRecord,
               Label() + "第 " + std::to_string(record_) + " 个词条缺少中文释义（文件在第 " +
                   std::to_string(reader_.LineNumber()) + " 行结束）\r\n" + Hint(entry_));
        return false;
      }
      Word& word = book_.words.back();
      if (own) {
        // Decoded at the end, once the whole file tells its encoding.
        word.english = english;
        word.chinese = meaning;
        continue;
      }
      if (record_ > 1) RaiseFirstCharacter(english);
      word.english = Decode(english, reader_.LineNumber() - 1);
      word.chinese = Decode(meaning, reader_.LineNumber());
      StripMarkers(word.chinese);
    } while (!(record_ == 1 ? OnlyOneRecord() : reader_.AtEnd()));
    return !failure_;
  }

  // Decodes one GBK line and notes its number when it holds bytes that are not GBK.
  std::string Decode(std::string_view raw, int line) {
    const int before = decoder_.InvalidSequences();
    std::string text = decoder_.Decode(raw);
    if (decoder_.InvalidSequences() != before) decoding_.invalid_lines.push_back(line);
    return text;
  }

  bool OnlyOneRecord() {
    if (!reader_.AtEnd()) return false;
    Fail(LoadFault::TooFewRecords, Label() + "只有一个词条，至少需要两个\r\n" + Hint(entry_));
    return true;
  }

  // The own book is read as UTF-8 or GBK as a whole, once all of it is known.
  void DecodeOwnBook() {
    std::vector<Word>& words = book_.words;
    OwnBookEncoding encoding;
    for (const Word& word : words) {
      encoding.Add(word.english);
      encoding.Add(word.chinese);
    }
    if (encoding.ReadsAsUtf8()) {
      decoding_.encoding = Encoding::Utf8;
      if (!words.empty() && words.front().english.starts_with("\xEF\xBB\xBF"))
        words.front().english.erase(0, 3);
    } else {
      // Record i (from 0) stands on lines 2i + 1 and 2i + 2.
      for (std::size_t i = 0; i < words.size(); ++i) {
        const int line = 2 * static_cast<int>(i) + 1;
        words[i].english = Decode(words[i].english, line);
        words[i].chinese = Decode(words[i].chinese, line + 1);
      }
    }
    for (Word& word : words) StripMarkers(word.chinese);
  }

  const std::string& path_;
  const CatalogueEntry& entry_;
  WordBook& book_;
  LineReader reader_;
  GbkDecoder decoder_;
  Decoding decoding_;
  std::optional<LoadFailure> failure_;  // set once reading has failed
  int record_ = 0;                      // the record being read, from 1: the number messages name
};

}  // namespace

void CutIdiom(std::string_view line, std::string& entry, std::string& meaning) {
  const std::size_t length = text::CharCount(line);
  const std::size_t cut = text::CharOffset(line, length - length / 2);
  entry = text::Concat({line.substr(0, cut), "-"});
  meaning = text::Concat({"-", line.substr(cut)});
}

BookLoad ReadWordBook(const std::string& path, const CatalogueEntry& entry, WordBook& book) {
  os::InputFile file(path);
  ReadBytes read;
  if (file.IsOpen())
    read = [&file](char* buffer, std::size_t size) { return file.Read(buffer, size); };
  return Loader(read, path, entry, book).Run();
}

BookLoad ReadWordBook(const ReadBytes& read, const std::string& name, const CatalogueEntry& entry,
                      WordBook& book) {
  return Loader(read, name, entry, book).Run();
}

}  // namespace books
