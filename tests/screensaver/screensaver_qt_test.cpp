// The screen saver on real widgets (offscreen): large bold captions with transparent
// backgrounds, and ticks that repaint no more than the labels that moved.
#include <gtest/gtest.h>

#include <algorithm>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QPaintEvent>
#include <QRawFont>
#include <QRegion>

#include "qt/convert.h"
#include "qt/qt_harness.h"
#include "screensaver/screensaver_window.h"
#include "shell/shell.h"

namespace {

using shell::Mode;

class ScreenSaverWidgets : public qtharness::ProgramFixture {
 protected:
  // Every picture one plain colour, so that what the labels leave uncovered is known.
  void WritePictures(const QColor& colour) {
    QImage image(900, 700, QImage::Format_RGB32);
    image.fill(colour);
    std::filesystem::create_directories(dir_.Path() / "Pic");
    for (int n = 0; n < 20; ++n)
      ASSERT_TRUE(image.save(
          QString::fromStdString((dir_.Path() / "Pic").string() + "/" + std::to_string(n) + ".jpg"),
          "JPG"));
  }

  // Starts the program and switches to the screen saver, as its mode button does.
  void EnterScreenSaver() {
    Start();
    platform_.Deliver([this] {
      program_.Shell().SwitchMode(*program_.Shell().Find(Mode::Match), Mode::ScreenSaver);
    });
    qtharness::Settle();
    form_ = Model(Mode::ScreenSaver);
    ASSERT_TRUE(form_);
  }

  void Tick() {
    platform_.DeliverTick([this] { form_->Clock().Tick(); });
    qtharness::Settle();
  }

  std::vector<QLabel*> Labels() {
    return {WidgetAs<QLabel>("screensaver_window", "captions_0"),
            WidgetAs<QLabel>("screensaver_window", "captions_1"),
            WidgetAs<QLabel>("screensaver_window", "captions_2")};
  }

  std::optional<kit::Controls> form_;
};

bool Near(QRgb pixel, const QColor& colour, int tolerance) {
  return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
         std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
         std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

TEST_F(ScreenSaverWidgets, TheCaptionsAreLargeBoldOrangeAndThePictureShowsAroundTheLetters) {
  random_.fallback = 0.0;  // the label moves and pictures this test does not look at
  const QColor blue(20, 40, 200);
  WritePictures(blue);
  EnterScreenSaver();
  QWidget* window = Window("screensaver_window");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(window->isVisible());
  const QImage shot = window->grab().toImage();

  for (QLabel* label : Labels()) {
    ASSERT_NE(label, nullptr);
    SCOPED_TRACE(label->text().toStdString());
    EXPECT_TRUE(label->isVisible());
    EXPECT_TRUE(label->font().bold());
    EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 72);
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 127, 0));
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_GE(label->height(), label->sizeHint().height());

    // The corner of the label shows the picture; the letters are drawn in orange.
    const QRect r = label->geometry();
    EXPECT_TRUE(Near(shot.pixel(r.topLeft() + QPoint(1, 1)), blue, 40));
    int orange = 0;
    for (int y = r.top(); y <= r.bottom(); y += 2)
      for (int x = r.left(); x <= r.right(); x += 2)
        orange += Near(shot.pixel(x, y), QColor(255, 127, 0), 40) ? 1 : 0;
    EXPECT_GT(orange, 100);
  }

  // Some face of the caption font holds 侠, so it is drawn as a letter, not as a box.
  const QFont font = Labels()[0]->font();
  bool drawable = false;
  for (const QString& family : font.families())
    drawable |= QRawFont::fromFont(QFont(family), QFontDatabase::SimplifiedChinese)
                    .supportsCharacter(QChar(0x4FA0));
  EXPECT_TRUE(drawable);
}

// Counts the paints of a widget and gathers what its paints covered.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
  int paints = 0;
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      painted += static_cast<QPaintEvent*>(event)->region();
    }
    return false;
  }
};

TEST_F(ScreenSaverWidgets, ATickRepaintsNoMoreThanTheLabelsAndThePictureWhereTheyWere) {
  random_.fallback = 0.0;  // the label moves and pictures this test does not look at
  WritePictures(QColor(20, 40, 200));
  EnterScreenSaver();
  QWidget* window = Window("screensaver_window");
  ASSERT_NE(window, nullptr);
  std::vector<QLabel*> labels = Labels();
  for (int tick = 0; tick < 5; ++tick) {
    QRegion around;
    for (QLabel* label : labels) around += label->geometry();
    PaintRecorder form_paints(window);
    std::vector<std::unique_ptr<PaintRecorder>> label_paints;
    for (QLabel* label : labels) label_paints.push_back(std::make_unique<PaintRecorder>(label));

    Tick();
    // Every label moves on these ticks, so each is painted: wait for that, a while at most.
    const auto all_painted = [&] {
      return std::all_of(label_paints.begin(), label_paints.end(),
                         [](const auto& recorder) { return recorder->paints > 0; });
    };
    for (QDeadlineTimer deadline(2000); !all_painted() && !deadline.hasExpired();)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (QLabel* label : labels) around += label->geometry();
    // Each label once, and no paint beyond one for the picture where they were.
    for (std::size_t i = 0; i < labels.size(); ++i)
      EXPECT_EQ(label_paints[i]->paints, 1) << "caption " << i << " tick " << tick;
    EXPECT_LE(form_paints.paints, 1) << "tick " << tick;
    EXPECT_TRUE((form_paints.painted - around).isEmpty())
        << "the window repainted beyond the labels at tick " << tick;
  }
}

}  // namespace
