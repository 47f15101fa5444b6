#include "qt/qt_harness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <memory>

namespace qtharness {

namespace {

// One QApplication for the whole run, on the offscreen platform unless told otherwise.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { app_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "vantle_qt_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

// A test that ended the program made Qt's event loops quit; the next test needs them again.
class RearmAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    if (QCoreApplication::instance()) qtbind::QtPlatform::RearmEventLoops();
  }
};

[[maybe_unused]] auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);
[[maybe_unused]] const bool kRearm = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new RearmAfterEachTest);
  return true;
}();

}  // namespace

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void AnswerMessages(qtbind::QtPlatform& platform, std::vector<std::string>& messages,
                    std::function<void(const std::string&)>* while_open) {
  platform.on_message_shown = [&messages, while_open](QMessageBox& box) {
    messages.push_back(box.text().toStdString());
    if (while_open && *while_open) (*while_open)(messages.back());
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) {
      ok->click();
    } else {
      ADD_FAILURE() << "a message box without an OK button";
      box.done(0);
    }
  };
}

void Click(QWidget* widget) {
  ASSERT_NE(widget, nullptr);
  ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString() << " is hidden";
  QTest::mouseClick(widget, Qt::LeftButton);
}

void ClickRow(QListWidget* list, int row) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, list->count());
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(list->item(row)).center());
}

void DoubleClickRow(QListWidget* list, int row) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, list->count());
  list->scrollToItem(list->item(row));
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

ProgramFixture::ProgramFixture() {
  platform_.SetProgramDirectory(dir_.Str());
  platform_.SetUserDataDirectory({});  // the tester's own book stays out of the tests
  AnswerMessages(platform_, messages_, &on_message_);
}

void ProgramFixture::Start() {
  platform_.Deliver([this] { program_.Start(); });
  Settle();
}

void ProgramFixture::WriteOwnBook(const std::vector<std::pair<std::string, std::string>>& records) {
  kit::WriteOwnBook(dir_.Path(), records);
}

QWidget* ProgramFixture::Window(const std::string& window) {
  QWidget* w = platform_.WindowWidget(window);
  EXPECT_NE(w, nullptr) << "no widget for window " << window;
  return w;
}

QWidget* ProgramFixture::Widget(const std::string& window, const std::string& control) {
  QWidget* form = platform_.WindowWidget(window);
  QWidget* w = form ? form->findChild<QWidget*>(QString::fromStdString(control)) : nullptr;
  EXPECT_NE(w, nullptr) << "no widget for " << window << "." << control;
  return w;
}

void ProgramFixture::Click(const std::string& window, const std::string& control) {
  qtharness::Click(Widget(window, control));
  Settle();
}

}  // namespace qtharness
