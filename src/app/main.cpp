// Vantle: starts the match window and runs until a window's unload or a failed book load
// ends the program.
#include <QApplication>

#include "program/program.h"
#include "qt/qt_platform.h"
#include "ui/random.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vantle"));
  QApplication::setApplicationVersion(QStringLiteral("3.06"));

  qtbind::QtPlatform platform;
  ui::ClockRandom random;
  program::Program program(platform, random);
  platform.Deliver([&program] { program.Start(); });
  const int status = platform.Ended() ? platform.ExitCode() : QApplication::exec();
  // The widgets go before the model windows they show.
  platform.DestroyWidgets();
  return status;
}
