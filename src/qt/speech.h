// Speech for the Qt platform: Qt's text to speech through speech-dispatcher, and the learner's
// speech settings. The engine lives in a thread of its own, started on first use: opening it
// can take seconds (speech-dispatcher is started on demand) and an engine that hangs or goes
// away must never hold up the windows. A new request cuts off the one before.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "ui/platform.h"
#include "view/wording.h"

class QSettings;
class QThread;

namespace qtbind {

class SpeechEngine;
struct SpeechLink;

struct SpeechState {
  using Status = view::SpeechStatus;
  Status status = Status::Idle;
  QStringList voices;    // the installed English voices, by name
  bool chinese = false;  // a Chinese voice is installed
  QString error;         // what the engine said when it failed

  // Whether a request can be made (it may still fail).
  bool Usable() const { return view::SpeechUsable(status); }
};

class Speech : public QObject {
  Q_OBJECT

 public:
  // Cheap: neither the engine nor the settings are touched before they are needed. The
  // settings live in `settings_file`; by default in the user's configuration folder.
  explicit Speech(QString settings_file = {});
  ~Speech() override;
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // Says `text`; returns at once. Chinese is said only with a Chinese voice.
  void Say(const QString& text, ui::Language language);
  // Opens the engine (in its thread) unless it is open or being opened.
  void Start();
  const SpeechState& State() const { return state_; }

  // 自动朗读 and the chosen English voice ("" for the engine's default), kept in the
  // settings file; it is written only when a setting changes.
  bool AutoSpeak();
  void SetAutoSpeak(bool on);
  QString Voice();
  void SetVoice(const QString& name);

  // The engine to use: speech-dispatcher's.
  static constexpr const char* kEngine = "speechd";

 signals:
  void StateChanged();

 private:
  friend class SpeechEngine;
  QSettings& Settings();
  // The engine's news, in the windows' thread.
  void Report(SpeechState state);

  SpeechState state_;
  QString settings_file_;
  std::unique_ptr<QSettings> settings_;
  std::optional<bool> auto_speak_;
  std::optional<QString> voice_;
  QThread* thread_ = nullptr;         // started on first use
  SpeechEngine* engine_ = nullptr;    // lives in thread_
  std::shared_ptr<SpeechLink> link_;  // shared with the engine
};

}  // namespace qtbind
