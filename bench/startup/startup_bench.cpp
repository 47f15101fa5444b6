// Start-up to the first window on screen, measured from outside: the program is started and
// the time runs until the X server shows a window of its process. Needs an X display.
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <cstdlib>

namespace {

void StartToWindow(benchmark::State& state, const char* program) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("/nonexistent"));
  for (auto _ : state) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QString::fromUtf8(program), {});
    if (!process.waitForStarted(10000)) {
      state.SkipWithError("the program did not start");
      break;
    }
    // Asked again and again (xdotool's own --sync looks only every half second).
    bool shown = false;
    for (int tries = 0; !shown && tries < 2000; ++tries) {
      QProcess search;
      search.start(QStringLiteral("xdotool"),
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), QString::number(process.processId())});
      shown = search.waitForFinished(5000) && search.exitCode() == 0;
    }
    state.PauseTiming();
    process.kill();
    process.waitForFinished(5000);
    state.ResumeTiming();
    if (!shown) {
      state.SkipWithError("no window showed (is there an X display?)");
      break;
    }
  }
}

void BM_MinimalQtProgram(benchmark::State& state) {
  StartToWindow(state, VANTLE_FLOOR);
}
BENCHMARK(BM_MinimalQtProgram)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// VANTLE_STARTUP_PROGRAM names another build of the program to measure (an older one, to
// compare).
void BM_Vantle(benchmark::State& state) {
  const char* other = std::getenv("VANTLE_STARTUP_PROGRAM");
  StartToWindow(state, other && *other ? other : VANTLE_PROGRAM);
}
BENCHMARK(BM_Vantle)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace
