// Speech on a real display: F2 on a focused English cell is heard (speech-dispatcher with
// espeak-ng playing into a PulseAudio null sink that the test starts and records from), and
// without a speech engine the menu's entries are disabled and a round plays as before.
// Each case runs in a process of its own (see CMakeLists.txt): which speech plugins Qt finds
// is settled the first time speech is used.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QMenu>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "e2e/driver.h"
#include "kit/kit.h"
#include "match/round.h"
#include "qt/speech.h"

namespace {

using shell::Mode;
namespace fs = std::filesystem;

constexpr char kSink[] = "vantle_e2e_sink";

// An own book of 18 English words, and pictures, in a program folder of the test's own.
struct WordFolder {
  WordFolder() {
    for (const char* word : {"knowledge", "library", "mountain", "teacher", "window", "garden",
                             "evening", "holiday", "river", "number", "picture", "question",
                             "morning", "village", "student", "weather", "kitchen", "doctor"})
      book.emplace_back(word, std::string("词义") + word[0]);
    kit::WriteOwnBook(dir.Path(), book);
  }
  // Whether a cell's text is one of the book's English words.
  bool IsEnglish(const std::string& text) const {
    return std::any_of(book.begin(), book.end(),
                       [&](const kit::Record& r) { return r.first == text; });
    e2e::WritePictures(dir.Path());
  }
  kit::TempDir dir;
  std::vector<kit::Record> book;
};

class SpeechOnScreen : public ::testing::Test {
 protected:
  // Starts a match round on the own book.
  kit::Controls Deal() {
    EXPECT_TRUE(driver_->Start());
    const std::optional<kit::Controls> form = driver_->Model(Mode::Match);
    if (!form) throw std::logic_error("no match window");
    EXPECT_TRUE(
        driver_->ClickRow("match_window", "book_list", kit::RowOf(form->BookList(), "《My词库》")));
    EXPECT_TRUE(driver_->Click("match_window", "choose_book_button"));
    EXPECT_TRUE(driver_->ClickRow("match_window", "group_list", 1));
    EXPECT_TRUE(driver_->Click("match_window", "choose_group_button"));
    EXPECT_TRUE(driver_->WaitUntil([&] { return driver_->OnScreen("match_window", "cells_35"); }));
    return *form;
  }

  // The board button holding the keyboard focus, or -1.
  int FocusedCell() const {
    QWidget* w = driver_->Window("match_window")->focusWidget();
    const QString name = w ? w->objectName() : QString();
    return name.startsWith("cells_") ? name.mid(6).toInt() : -1;
  }

  // Right-clicks a cell and returns the menu that opens (null when none does).
  QMenu* OpenMenuOn(const std::string& control) {
    if (!driver_->Click("match_window", control, 1, 3)) return nullptr;
    QMenu* menu = nullptr;
    driver_->WaitUntil([&] {
      menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      return menu != nullptr;
    });
    return menu;
  }
  static QAction* Entry(QMenu* menu, const char* name) {
    return menu ? menu->findChild<QAction*>(name) : nullptr;
  }

  WordFolder folder_;
  std::unique_ptr<e2e::Driver> driver_;
};

// A PulseAudio server of the test's own with a null sink, in a runtime folder of its own
// (speech-dispatcher, started by the program on demand, finds it there too), and a recording
// of the sink's monitor. Everything it starts is stopped with it.
class SoundBox {
 public:
  SoundBox()
      : runtime_(root_.Path() / "run"),
        env_runtime_("XDG_RUNTIME_DIR", runtime_.c_str()),
        env_cache_("XDG_CACHE_HOME", (root_.Path() / "cache").c_str()),
        env_config_("XDG_CONFIG_HOME", (root_.Path() / "config").c_str()),
        env_pulse_("PULSE_SERVER", nullptr) {
    fs::create_directories(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
  }
  ~SoundBox() {
    if (recorder_) {
      recorder_->kill();
      recorder_->waitForFinished(2000);
    }
    StopSpeechDispatcher();  // when the program started one
    if (started_) e2e::Run({"pulseaudio", "--kill"});
  }

  // Ends the speech-dispatcher the program started; false when there is none.
  bool StopSpeechDispatcher() {
    std::ifstream pid_file(runtime_ / "speech-dispatcher/pid/speech-dispatcher.pid");
    long pid = 0;
    if (!(pid_file >> pid) || pid <= 1) return false;
    if (e2e::Run({"kill", QString::number(pid)}) != 0) return false;
    // Gone once it can no longer be signalled.
    for (int tries = 0; tries < 100; ++tries) {
      if (e2e::Run({"kill", "-0", QString::number(pid)}) != 0) return true;
      QThread::msleep(50);
    }
    return false;
  }

  // Starts the server and the recording; false (with the reason) when either fails.
  testing::AssertionResult Start() {
    const int status = e2e::Run(
        {"pulseaudio", "--daemonize=yes", "--exit-idle-time=-1", "--system=false", "-n",
         "--load=module-native-protocol-unix",
         QString("--load=module-null-sink sink_name=") + kSink,
         "--log-target=file:" + QString::fromStdString((root_.Path() / "pulse.log").string())},
        20000);
    if (status != 0)
      return testing::AssertionFailure() << "pulseaudio did not start (status " << status << ")";
    started_ = true;
    if (e2e::Run({"pactl", "set-default-sink", kSink}) != 0)
      return testing::AssertionFailure() << "pactl could not reach the sound server";
    recorder_ = std::make_unique<QProcess>();
    recorder_->start("parec", {"-d", QString(kSink) + ".monitor", "--raw", "--format=s16le",
                               "--rate=16000", "--channels=1"});
    if (!recorder_->waitForStarted(5000))
      return testing::AssertionFailure() << "parec did not start";
    return testing::AssertionSuccess();
  }

  // The loudest sample recorded since the last call.
  int Peak() {
    pending_.append(recorder_->readAllStandardOutput());
    int peak = 0;
    const qsizetype whole = pending_.size() / 2 * 2;
    for (qsizetype i = 0; i < whole; i += 2) {
      const auto sample =
          static_cast<std::int16_t>(static_cast<std::uint8_t>(pending_[i]) |
                                    (static_cast<std::uint8_t>(pending_[i + 1]) << 8));
      peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    pending_.remove(0, whole);
    return peak;
  }

 private:
  kit::TempDir root_;
  fs::path runtime_;
  kit::ScopedEnv env_runtime_, env_cache_, env_config_, env_pulse_;
  bool started_ = false;
  std::unique_ptr<QProcess> recorder_;
  QByteArray pending_;
};

TEST_F(SpeechOnScreen, F2OnAFocusedEnglishCellIsHeardOnTheSoundCard) {
  SoundBox sound;
  ASSERT_TRUE(sound.Start()) << "the sound server this test needs could not be started";
  driver_ = std::make_unique<e2e::Driver>(folder_.dir.Path());
  const kit::Controls form = Deal();

  // The keys walk the board to an English cell.
  const auto on_english = [&] {
    return FocusedCell() >= 0 && folder_.IsEnglish(form.Cell(FocusedCell()).Caption());
  };
  for (int step = 0; step < 6 && !on_english(); ++step) ASSERT_TRUE(driver_->Key("Right"));
  const int cell = FocusedCell();
  ASSERT_GE(cell, 0);
  ASSERT_TRUE(on_english());
  sound.Peak();  // what played before F2 does not count
  // F2 is taken as a shortcut, before any window sees it as a key press, so the driver's
  // count of key presses cannot tell that it arrived: the sound does.
  ASSERT_EQ(e2e::Run({"xdotool", "key", "F2"}), 0);
  // Opening the engine starts speech-dispatcher, which takes a few seconds the first time.
  int peak = 0;
  EXPECT_TRUE(driver_->WaitUntil(
      [&] {
        peak = std::max(peak, sound.Peak());
        return peak > 1000;
      },
      30000))
      << "nothing was heard for \"" << form.Cell(cell).Caption() << "\"; loudest " << peak;
  EXPECT_FALSE(form.Marker().Visible());
  EXPECT_TRUE(form.Cell(cell).Visible()) << "F2 picks nothing";

  // The menu lists the English voices and offers every entry.
  QMenu* menu = OpenMenuOn("cells_" + std::to_string(cell));
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(driver_->WaitUntil([&] {
    return driver_->Platform().SpeechService().State().status == qtbind::SpeechState::Status::Ready;
  }));
  EXPECT_TRUE(Entry(menu, "SpeakAction")->isEnabled());
  EXPECT_EQ(Entry(menu, "SpeakAction")->text(), "朗读 (F2)");
  EXPECT_TRUE(Entry(menu, "AutoSpeakAction")->isEnabled());
  EXPECT_FALSE(Entry(menu, "AutoSpeakAction")->isChecked());
  auto* voices = menu->findChild<QMenu*>("VoiceMenu");
  ASSERT_NE(voices, nullptr);
  EXPECT_GT(voices->actions().size(), 1) << "默认 and the installed English voices";
  ASSERT_TRUE(driver_->Key("Escape"));
  ASSERT_TRUE(driver_->WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));

  // speech-dispatcher goes away mid-round: F2 neither ends nor holds up the program, and no
  // message opens; the clock goes on and the cells still take clicks.
  ASSERT_TRUE(sound.StopSpeechDispatcher());
  ASSERT_EQ(e2e::Run({"xdotool", "key", "F2"}), 0);
  const int bar = form.TimeBar().Height();
  EXPECT_TRUE(driver_->WaitUntil(
      [&] { return form.TimeBar().Height() < bar - 20 * match::kBarPerTick; }, 20000));
  ASSERT_TRUE(driver_->Click("match_window", "cells_" + std::to_string(cell)));
  EXPECT_FALSE(form.Cell(cell).Visible()) << "picked";
  EXPECT_TRUE(form.Marker().Visible());
  EXPECT_TRUE(driver_->Messages().empty());
  EXPECT_FALSE(driver_->Ended());
  // The menu says so; the next F2 opens the engine again (speech-dispatcher starts anew) and
  // is heard.
  ASSERT_TRUE(driver_->WaitUntil(
      [&] {
        return driver_->Platform().SpeechService().State().status ==
               qtbind::SpeechState::Status::Failed;
      },
      10000));
  menu = OpenMenuOn("cells_" + std::to_string((cell + 1) % match::kCells));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Entry(menu, "SpeakAction")->text().startsWith("朗读 (F2)（语音引擎出错"));
  ASSERT_TRUE(driver_->Key("Escape"));
  ASSERT_TRUE(driver_->WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
  sound.Peak();
  ASSERT_EQ(e2e::Run({"xdotool", "key", "F2"}), 0);
  peak = 0;
  EXPECT_TRUE(driver_->WaitUntil(
      [&] {
        peak = std::max(peak, sound.Peak());
        return peak > 1000;
      },
      30000))
      << "nothing was heard once speech-dispatcher was gone; loudest " << peak;
}

// Qt finds every plugin of the system but the speech engines.
void HideSpeechEngines(const fs::path& folder) {
  const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath));
  for (const QString& kind : plugins.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
    if (kind != "texttospeech")
      fs::create_directory_symlink(plugins.filePath(kind).toStdString(),
                                   folder / kind.toStdString());
  QCoreApplication::setLibraryPaths({QString::fromStdString(folder.string())});
}

TEST_F(SpeechOnScreen, WithoutAnEngineTheEntriesSayWhyAndARoundPlaysAsBefore) {
  kit::TempDir plugins;
  HideSpeechEngines(plugins.Path());
  kit::TempDir config;
  kit::ScopedEnv env_config("XDG_CONFIG_HOME", config.Str().c_str());
  driver_ = std::make_unique<e2e::Driver>(folder_.dir.Path());
  const kit::Controls form = Deal();

  QMenu* menu = OpenMenuOn("cells_0");
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(driver_->WaitUntil([&] {
    return driver_->Platform().SpeechService().State().status ==
           qtbind::SpeechState::Status::NoEngine;
  }));
  EXPECT_FALSE(Entry(menu, "SpeakAction")->isEnabled());
  EXPECT_EQ(Entry(menu, "SpeakAction")->text(), "朗读（未安装语音引擎）");
  EXPECT_FALSE(Entry(menu, "AutoSpeakAction")->isEnabled());
  EXPECT_EQ(Entry(menu, "AutoSpeakAction")->text(), "自动朗读（未安装语音引擎）");
  EXPECT_FALSE(menu->findChild<QMenu*>("VoiceMenu")->isEnabled());
  ASSERT_TRUE(driver_->Key("Escape"));
  ASSERT_TRUE(driver_->WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
  ASSERT_TRUE(driver_->Key("F2"));
  // The Menu key opens the same menu.
  ASSERT_TRUE(driver_->Key("Menu"));
  ASSERT_TRUE(driver_->WaitUntil([] {
    QWidget* popup = QApplication::activePopupWidget();
    return popup && popup->objectName() == "WindowMenu";
  }));
  ASSERT_TRUE(driver_->Key("Escape"));
  ASSERT_TRUE(driver_->WaitUntil([] { return QApplication::activePopupWidget() == nullptr; }));

  // The round plays to its report with real clicks.
  // The first cell on the board showing `text`.
  const auto showing = [&form](const std::string& text) {
    for (int b = 0; b < match::kCells; ++b)
      if (form.Cell(b).Visible() && form.Cell(b).Caption() == text)
        return "cells_" + std::to_string(b);
    ADD_FAILURE() << "no cell shows " << text;
    return std::string();
  };
  for (int k = 0; k < match::kPairs; ++k) {
    const auto& [english, chinese] = folder_.book[static_cast<std::size_t>(k)];
    ASSERT_TRUE(driver_->Click("match_window", showing(english)));
    if (k == match::kPairs - 1) driver_->AnswerMessages(1);
    ASSERT_TRUE(driver_->Click("match_window", showing(chinese)));
  }
  ASSERT_TRUE(driver_->WaitUntil([&] { return driver_->Messages().size() == 1; }));
  EXPECT_EQ(driver_->Messages().front().rfind("本局共 18 个单词\n您共错了 0 次\n本局用时 ", 0), 0u);
  EXPECT_TRUE(fs::is_empty(config.Path())) << "no setting changed, so nothing was written";
}

}  // namespace
