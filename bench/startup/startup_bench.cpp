// Start-up to the first window on screen, measured from outside: the program is started and
// the time runs until the X server shows a window of its process. Needs an X display.
#include <benchmark/benchmark.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Starts `program` and waits until the X server shows a window of its process; false (with
// what the program said) when it ends first or shows nothing within the deadline.
bool ShowsWindow(const char* program, const QProcessEnvironment& env, std::string& why) {
  QProcess process;
  process.setProcessEnvironment(env);
  process.start(QString::fromUtf8(program), {});
  if (!process.waitForStarted(10000)) {
    why = "the program did not start";
    return false;
  }
  // Asked again and again (xdotool's own --sync looks only every half second).
  QDeadlineTimer deadline(30000);
  bool shown = false, ended = false;
  while (!shown && !deadline.hasExpired() && !(ended = process.waitForFinished(1))) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                  QStringLiteral("--pid"), QString::number(process.processId())});
    shown = search.waitForFinished(5000) && search.exitCode() == 0;
  }
  process.kill();
  process.waitForFinished(5000);
  if (!shown) {
    why = ended ? "the program ended before its window showed: " : "no window showed: ";
    why += process.readAllStandardError().left(300).toStdString();
  }
  return shown;
}

void StartToWindow(benchmark::State& state, const char* program) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/nonexistent"));
  for (auto _ : state) {
    std::string why;
    if (ShowsWindow(program, env, why)) continue;
    // A start that fails once on a busy machine is tried again before it counts as an error.
    state.PauseTiming();
    std::fprintf(stderr, "start-up: tried again after: %s\n", why.c_str());
    state.ResumeTiming();
    if (!ShowsWindow(program, env, why)) {
      state.SkipWithError(why.c_str());
      break;
    }
  }
}

void BmMinimalQtProgram(benchmark::State& state) {
  StartToWindow(state, VANTLE_FLOOR);
}
BENCHMARK(BmMinimalQtProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// VANTLE_STARTUP_PROGRAM names another build of the program to measure (an older one, to
// compare).
void BmVantle(benchmark::State& state) {
  const char* other = std::getenv("VANTLE_STARTUP_PROGRAM");
  StartToWindow(state, other && *other ? other : VANTLE_PROGRAM);
}
BENCHMARK(BmVantle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
