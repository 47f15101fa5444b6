// Vantle: starts the match window and runs until a window's unload or a failed book load
// ends the program.
#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <cstdio>
#include <optional>

#include "books/catalogue.h"
#include "program/program.h"
#include "qt/progress/progress_window.h"
#include "qt/qt_platform.h"
#include "ui/random.h"

namespace {

constexpr int kExitUsage = 2;

// Qt's own options, which the application takes off the command line itself: those with a
// value and those without.
constexpr const char* kQtValueOptions =
    "platform platformpluginpath platformtheme plugin display geometry qwindowgeometry "
    "qwindowicon qwindowtitle title name style stylesheet session qmljsdebugger";
constexpr const char* kQtFlagOptions = "reverse widgetcount nograb dograb sync";

// What the command line asks for: nothing (start the program), or an exit status once the
// help, the version or a usage error has been printed. Needs a QCoreApplication, not a
// display.
std::optional<int> HandleArguments(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Vantle: learn English vocabulary with a match game, a translation quiz, a "
                     "two-way dictionary and a screen saver.\n"
                     "It reads its word books and pictures beside the program, and the own book "
                     "also from $XDG_DATA_HOME/vantle/."));
  // Qt's options are single-dash words (-platform offscreen).
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  auto add_hidden = [&parser](const char* names, const QString& value_name) {
    for (const QString& name : QString::fromLatin1(names).split(QLatin1Char(' '))) {
      QCommandLineOption option(name, QString(), value_name);
      option.setFlags(QCommandLineOption::HiddenFromHelp);
      parser.addOption(option);
    }
  };
  add_hidden(kQtValueOptions, QStringLiteral("value"));
  add_hidden(kQtFlagOptions, QString());
  if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
    const QString error =
        parser.errorText().isEmpty()
            ? QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().value(0))
            : parser.errorText();
    std::fprintf(stderr, "vantle: %s\n\n%s", qPrintable(error), qPrintable(parser.helpText()));
    return kExitUsage;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    std::fputs(qPrintable(parser.helpText()), stdout);
    return 0;
  }
  if (parser.isSet(version)) {
    std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                qPrintable(QCoreApplication::applicationVersion()));
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("Vantle"));
  QCoreApplication::setApplicationVersion(QStringLiteral("3.06"));
  // The command line is judged before the widgets start, so that help, version and bad usage
  // need no display.
  {
    QCoreApplication without_display(argc, argv);
    if (const std::optional<int> status = HandleArguments(QCoreApplication::arguments()))
      return *status;
  }
  QApplication app(argc, argv);

  qtbind::QtPlatform platform;
  platform.SetUserDataDirectory(books::UserDataDirectory());
  ui::ClockRandom random;
  program::Program program(platform, random, qtprogress::ProgressWindowShower(platform));
  platform.Deliver([&program] { program.Start(); });
  const int status = platform.Ended() ? platform.ExitCode() : QApplication::exec();
  // The widgets go before the model windows they show.
  platform.DestroyWidgets();
  return status;
}
