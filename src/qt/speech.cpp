#include "qt/speech.h"

#include <QLocale>
#include <QSettings>
#include <QTextToSpeech>
#include <QThread>
#include <QVoice>
#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

#include "qt/settings.h"

namespace qtbind {

// What the windows' side and the engine share: the number of the latest request (an older one
// still queued is dropped), and the way back to the windows' side while it exists.
struct SpeechLink {
  std::atomic<int> latest{0};
  std::mutex mutex;
  Speech* owner = nullptr;  // null once the windows' side is gone
};

namespace {

constexpr char kAutoKey[] = "speech/auto";
constexpr char kVoiceKey[] = "speech/voice";
// How long the end of the program waits for an engine still busy opening.
constexpr unsigned long kShutdownWaitMs = 1500;

}  // namespace

// Lives in the speech thread; every member runs there.
class SpeechEngine : public QObject {
 public:
  explicit SpeechEngine(std::shared_ptr<SpeechLink> link) : link_(std::move(link)) {}

  void Open() {
    SpeechState state;
    tts_.reset();
    voices_.clear();
    chinese_.reset();
    if (!QTextToSpeech::availableEngines().contains(QLatin1String(Speech::kEngine))) {
      state.status = SpeechState::Status::NoEngine;
      return Report(std::move(state));
    }
    tts_ = std::make_unique<QTextToSpeech>(QLatin1String(Speech::kEngine));
    if (tts_->state() == QTextToSpeech::Error) {
      state.status = SpeechState::Status::NoEngine;
      state.error = tts_->errorString();
      tts_.reset();
      return Report(std::move(state));
    }
    // The voices of every English locale (the engine's variants of a voice, "name+variant",
    // are left out), and a Chinese locale: Mandarin first, else Cantonese.
    std::optional<QLocale> cantonese;
    for (const QLocale& locale : tts_->availableLocales()) {
      if (locale.language() == QLocale::English) {
        tts_->setLocale(locale);
        for (const QVoice& voice : tts_->availableVoices()) {
          if (voice.name().contains(QLatin1Char('+')) || state.voices.contains(voice.name()))
            continue;
          state.voices.append(voice.name());
          voices_.push_back({voice, locale});
        }
      } else if (locale.language() == QLocale::Chinese) {
        chinese_ = locale;
      } else if (locale.language() == QLocale::Cantonese) {
        cantonese = locale;
      }
    }
    if (!chinese_) chinese_ = cantonese;
    state.chinese = chinese_.has_value();
    state.status =
        voices_.empty() ? SpeechState::Status::NoEnglishVoice : SpeechState::Status::Ready;
    QObject::connect(tts_.get(), &QTextToSpeech::stateChanged, this,
                     [this](QTextToSpeech::State now) {
                       if (now == QTextToSpeech::Error && tts_) Fail(tts_->errorString());
                     });
    Report(std::move(state));
  }

  void Say(const QString& text, ui::Language language, const QString& voice_name, int number) {
    if (number != link_->latest) return;  // a newer request follows
    if (broken_ || !tts_) Open();
    if (!tts_ || voices_.empty()) return;
    tts_->stop();
    if (language == ui::Language::Chinese) {
      if (!chinese_) return;  // never with an English voice
      tts_->setLocale(*chinese_);
    } else {
      const Voice* chosen = &voices_.front();
      const QLocale us(QLocale::English, QLocale::UnitedStates);
      for (const Voice& v : voices_)
        if (voice_name.isEmpty() ? v.locale == us && chosen->locale != us
                                 : v.voice.name() == voice_name)
          chosen = &v;
      tts_->setLocale(chosen->locale);
      if (!voice_name.isEmpty()) tts_->setVoice(chosen->voice);
    }
    tts_->say(text);
    if (tts_->state() == QTextToSpeech::Error) Fail(tts_->errorString());
  }

 private:
  struct Voice {
    QVoice voice;
    QLocale locale;
  };

  // The engine failed (speech-dispatcher went away, the sound output broke): said to the
  // windows' side; the next request opens it again.
  void Fail(const QString& error) {
    if (broken_) return;
    broken_ = true;
    SpeechState state;
    state.status = SpeechState::Status::Failed;
    state.error = error;
    Report(std::move(state));
  }

  void Report(SpeechState state) {
    if (state.status != SpeechState::Status::Failed) broken_ = false;
    std::lock_guard lock(link_->mutex);
    if (!link_->owner) return;
    QMetaObject::invokeMethod(
        link_->owner, [owner = link_->owner, state] { owner->Report(state); },
        Qt::QueuedConnection);
  }

  std::shared_ptr<SpeechLink> link_;
  std::unique_ptr<QTextToSpeech> tts_;
  std::vector<Voice> voices_;
  std::optional<QLocale> chinese_;
  bool broken_ = false;
};

Speech::Speech(QString settings_file)
    : settings_file_(std::move(settings_file)), link_(std::make_shared<SpeechLink>()) {
  link_->owner = this;
}

Speech::~Speech() {
  {
    std::lock_guard lock(link_->mutex);
    link_->owner = nullptr;
  }
  if (!thread_) return;
  ++link_->latest;  // nothing queued is said any more
  QMetaObject::invokeMethod(
      engine_,
      [engine = engine_] {
        delete engine;
        QThread::currentThread()->quit();
      },
      Qt::QueuedConnection);
  if (thread_->wait(kShutdownWaitMs)) {
    delete thread_;
  } else {
    // The engine hangs (speech-dispatcher does not answer): the thread is left to the end of
    // the process rather than holding the program's end up.
  }
}

void Speech::Start() {
  if (thread_) return;
  thread_ = new QThread;
  thread_->setObjectName(QStringLiteral("speech"));
  engine_ = new SpeechEngine(link_);
  engine_->moveToThread(thread_);
  thread_->start();
  SpeechState starting;
  starting.status = SpeechState::Status::Starting;
  Report(std::move(starting));
  QMetaObject::invokeMethod(
      engine_, [engine = engine_] { engine->Open(); }, Qt::QueuedConnection);
}

void Speech::Say(const QString& text, ui::Language language) {
  if (!state_.Usable()) return;
  if (language == ui::Language::Chinese && state_.status == SpeechState::Status::Ready &&
      !state_.chinese)
    return;
  Start();
  const int number = ++link_->latest;
  QMetaObject::invokeMethod(
      engine_,
      [engine = engine_, text, language, voice = Voice(), number] {
        engine->Say(text, language, voice, number);
      },
      Qt::QueuedConnection);
}

void Speech::Report(SpeechState state) {
  // A failure keeps the voices known so far: the menu still lists them.
  if (state.status == SpeechState::Status::Failed) {
    state.voices = state_.voices;
    state.chinese = state_.chinese;
  }
  state_ = std::move(state);
  emit StateChanged();
}

QSettings& Speech::Settings() {
  if (!settings_) settings_ = OpenSettings(settings_file_);
  return *settings_;
}

bool Speech::AutoSpeak() {
  if (!auto_speak_) auto_speak_ = Settings().value(QLatin1String(kAutoKey), false).toBool();
  return *auto_speak_;
}

void Speech::SetAutoSpeak(bool on) {
  if (AutoSpeak() == on) return;
  auto_speak_ = on;
  Settings().setValue(QLatin1String(kAutoKey), on);
  Settings().sync();
}

QString Speech::Voice() {
  if (!voice_) voice_ = Settings().value(QLatin1String(kVoiceKey)).toString();
  return *voice_;
}

void Speech::SetVoice(const QString& name) {
  if (Voice() == name) return;
  voice_ = name;
  Settings().setValue(QLatin1String(kVoiceKey), name);
  Settings().sync();
}

}  // namespace qtbind
