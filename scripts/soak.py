#!/usr/bin/env python3
"""Random real input for the real program, for a given time, under the sanitizers.

Clicks and double-clicks anywhere in the shown window, keys, text (Chinese too) into the
dictionary's query box; message boxes are answered with Enter as a user would. A designed end
(exit status 0, no sanitizer report) starts the program again; a crash or a sanitizer report is
counted, starts it again too, and makes the exit status 1. Resident memory is read at the start
and end of each run. At the end the program is closed as a user closes it, so that the
sanitizers look for leaks. Without DISPLAY an Xvfb of its own is started.
"""

import argparse
import ctypes
import ctypes.util
import glob
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

KEYS = ["Left", "Right", "Up", "Down", "Return", "space", "Tab", "shift+Tab", "Escape",
        "BackSpace", "Home", "End", "Page_Down", "Page_Up"]
KEYS += list("0123456789") + list("abcdefghijklmnopqrstuvwxyz") + ["A", "Z"]
TEXTS = ["apple", "a", "ing", "the", "苹果", "水", "一心一意", "中文 english", "第1",
         "！？，。", "zzzz", "x" * 40, "  ", "-", "\\", "词库"]
# The dictionary's query box, in pixels from the window's corner (its centre).
QUERY_BOX = (180 + 250, 87 + 10)
MESSAGE_TITLE = "Vantle"
DICTIONARY_TITLE = "双向词典"
MODE_TITLES = ["连连看", "英汉互译", DICTIONARY_TITLE, "屏幕保护"]


def xdotool(*args, timeout=20):
    try:
        done = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True,
                              timeout=timeout)
    except subprocess.TimeoutExpired:
        return ""
    return done.stdout


class XClientMessageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]


class XEvent(ctypes.Union):
    _fields_ = [("xclient", XClientMessageEvent), ("pad", ctypes.c_long * 24)]


def close_window(wid):
    """Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW)."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XInternAtom.restype = ctypes.c_ulong
    x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                               ctypes.POINTER(XEvent)]
    x11.XFlush.argtypes = x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(None)
    if not display:
        return
    event = XEvent()
    event.xclient.type = 33  # ClientMessage
    event.xclient.window = int(wid)
    event.xclient.message_type = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
    event.xclient.format = 32
    event.xclient.data[0] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
    x11.XSendEvent(display, int(wid), 0, 0, ctypes.byref(event))
    x11.XFlush(display)
    x11.XCloseDisplay(display)


def start_display():
    """A virtual screen of its own: Xvfb on the first free display number."""
    for number in range(90, 400):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24",
                                   "-nolisten", "tcp"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline and server.poll() is None:
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                os.environ["DISPLAY"] = f":{number}"
                return server
            time.sleep(0.1)
        if server.poll() is None:
            server.kill()
    sys.exit("soak: no X display could be started")


def rss_kb(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


class Windows:
    """The program's windows on screen: the message box when one is open, else the mode
    window that is shown."""

    def __init__(self, pid):
        self.pid = pid

    def shown(self):
        ids = xdotool("search", "--all", "--pid", self.pid, "--onlyvisible", "--name", "").split()
        windows = []
        for wid in ids:
            geometry = {}
            for line in xdotool("getwindowgeometry", "--shell", wid).splitlines():
                key, _, value = line.partition("=")
                if value.isdigit():
                    geometry[key] = int(value)
            if geometry.get("WIDTH", 0) < 50 or geometry.get("HEIGHT", 0) < 50:
                continue  # tooltips, the hidden helper windows of the toolkit
            windows.append((wid, xdotool("getwindowname", wid).strip(), geometry))
        return windows


class Soak:
    def __init__(self, program, seconds, log_dir, rng):
        self.program = program
        self.seconds = seconds
        self.log_dir = log_dir
        self.rng = rng
        self.events = 0
        self.starts = 0
        self.designed_ends = 0
        self.messages = 0
        self.failures = []  # crashes and sanitizer reports
        self.runs = []  # (seconds, VmRSS once every window was shown, VmRSS at the end)
        self.process = None

    def start(self):
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join([
            f"log_path={self.log_dir}/asan", "detect_leaks=1", "abort_on_error=0",
            "exitcode=86",
            # A small quarantine: a long run's memory shows what the program keeps, not the
            # sanitizer's store of freed blocks.
            "quarantine_size_mb=4", "malloc_context_size=10"])
        env["UBSAN_OPTIONS"] = f"log_path={self.log_dir}/ubsan:print_stacktrace=1:halt_on_error=1"
        env["LSAN_OPTIONS"] = (f"suppressions={os.path.dirname(os.path.abspath(__file__))}"
                               "/soak.supp:print_suppressions=0")
        self.process = subprocess.Popen([self.program], env=env, cwd=os.path.dirname(self.program),
                                        stdout=subprocess.DEVNULL, stderr=open(
                                            os.path.join(self.log_dir, "stderr.txt"), "a"))
        self.starts += 1
        self.windows = Windows(self.process.pid)
        deadline = time.monotonic() + 120
        while time.monotonic() < deadline and self.process.poll() is None:
            if self.windows.shown():
                break
            time.sleep(0.2)
        self.run_start = time.monotonic()
        self.start_rss = rss_kb(self.process.pid)
        self.last_rss = self.start_rss
        self.modes_seen = set()
        self.warm_at = None
        self.judged_rss = None
        print(f"start {self.starts}: pid {self.process.pid}, VmRSS {self.start_rss} kB", flush=True)

    def reports(self):
        """The sanitizer logs that hold a report (a log may hold no more than statistics)."""
        found = []
        for log in sorted(glob.glob(os.path.join(self.log_dir, "asan.*")) +
                          glob.glob(os.path.join(self.log_dir, "ubsan.*"))):
            with open(log, errors="replace") as text:
                content = text.read()
            if "ERROR: " in content or "runtime error:" in content:
                found.append(log)
        return found

    def end_run(self, status):
        """Books the run that ended with exit status `status` (negative: the signal)."""
        seconds = time.monotonic() - self.run_start
        self.runs.append((seconds, self.judged_rss, self.last_rss))
        print(f"run {self.starts} ended after {seconds:.0f} s with exit status {status}; "
              f"VmRSS {self.start_rss} kB at the start, {self.last_rss} kB at the end",
              flush=True)
        new_reports = [r for r in self.reports() if r not in self.seen_reports]
        self.seen_reports.update(new_reports)
        for report in new_reports:
            self.failures.append(f"sanitizer report {report}")
            print(f"SANITIZER REPORT in run {self.starts}: {report}", flush=True)
            with open(report, errors="replace") as text:
                sys.stdout.write(text.read()[:6000])
        if status != 0 and not new_reports:
            if status < 0:
                what = f"killed by signal {signal.Signals(-status).name}"
            else:
                what = f"exit status {status}"
            self.failures.append(f"run {self.starts}: {what}")
            print(f"CRASH in run {self.starts}: {what}", flush=True)
        elif status == 0 and not new_reports:
            self.designed_ends += 1

    def note_mode(self, title):
        self.modes_seen.update(mode for mode in MODE_TITLES if mode in title)
        if self.warm_at is None and len(self.modes_seen) == len(MODE_TITLES):
            self.warm_at = time.monotonic() - self.run_start
            print(f"every window shown after {self.warm_at:.0f} s: "
                  f"VmRSS {rss_kb(self.process.pid)} kB", flush=True)

    def note_memory(self, end):
        """Memory is judged over the second half of a run that has shown every window by then.
        Until then windows, pictures, fonts, books and large lookups are met for the first
        time, and under AddressSanitizer resident memory keeps the highest use so far."""
        rss = rss_kb(self.process.pid)
        if rss is not None:
            self.last_rss = rss
        if (self.judged_rss is None and self.warm_at is not None and
                time.monotonic() >= (self.run_start + end) / 2):
            self.judged_rss = self.last_rss
            print(f"half of the run gone after {time.monotonic() - self.run_start:.0f} s: "
                  f"VmRSS {self.judged_rss} kB", flush=True)

    def answer_message(self, shown):
        """Presses Enter on an open message box, as a user answers one; false when none is open."""
        boxes = [w for w in shown if w[1] == MESSAGE_TITLE]
        if not boxes:
            return False
        xdotool("windowfocus", "--sync", boxes[-1][0], timeout=5)
        xdotool("key", "Return")
        self.messages += 1
        self.events += 1
        return True

    def act(self):
        shown = self.windows.shown()
        if not shown:
            time.sleep(0.05)
            return
        if self.answer_message(shown):
            return
        wid, title, g = shown[-1]
        self.note_mode(title)
        xdotool("windowfocus", "--sync", wid, timeout=5)
        roll = self.rng.random()
        x = g["X"] + self.rng.randrange(g["WIDTH"])
        y = g["Y"] + self.rng.randrange(g["HEIGHT"])
        if DICTIONARY_TITLE in title and roll < 0.1:
            xdotool("mousemove", "--sync", g["X"] + QUERY_BOX[0], g["Y"] + QUERY_BOX[1],
                    "click", "--repeat", 3, "1")
            xdotool("type", "--delay", 20, self.rng.choice(TEXTS))
            if self.rng.random() < 0.7:
                xdotool("key", "Return")
        elif roll < 0.5:
            xdotool("mousemove", "--sync", x, y, "click", "1")
        elif roll < 0.6:
            xdotool("mousemove", "--sync", x, y, "click", "--repeat", 2, "--delay", 80, "1")
        else:
            xdotool("key", "--delay", 20, self.rng.choice(KEYS))
        self.events += 1

    def run(self):
        self.seen_reports = set(self.reports())
        end = time.monotonic() + self.seconds
        next_report = time.monotonic() + 60
        self.start()
        while time.monotonic() < end:
            status = self.process.poll()
            if status is not None:
                self.end_run(status)
                self.start()
                continue
            self.act()
            self.note_memory(end)
            if time.monotonic() >= next_report:
                next_report += 60
                titles = ", ".join(w[1] for w in self.windows.shown())
                print(f"{self.seconds - (end - time.monotonic()):.0f} s: {self.events} events, "
                      f"VmRSS {self.last_rss} kB, shown: {titles}", flush=True)
            time.sleep(self.rng.uniform(0.0, 0.05))
        if self.process.poll() is None:
            self.last_rss = rss_kb(self.process.pid) or self.last_rss
            self.close()
        self.end_run(self.process.poll())

    def close(self):
        """Ends the program as a user does: closes the shown window and answers the farewell
        message; the sanitizers check for leaks on the way out. Killed if it does not end."""
        deadline = time.monotonic() + 120
        closed = False
        while self.process.poll() is None and time.monotonic() < deadline:
            shown = self.windows.shown()
            if not self.answer_message(shown) and shown and not closed:
                close_window(shown[-1][0])
                self.events += 1
                closed = True
            time.sleep(0.5)
        if self.process.poll() is None:
            print("the program did not end when its window was closed; killed", flush=True)
            self.process.kill()
            self.process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program")
    parser.add_argument("seconds", type=float)
    parser.add_argument("--seed", type=int, default=None)
    parser.add_argument("--logs", default=None, help="folder for sanitizer logs")
    args = parser.parse_args()
    seed = args.seed if args.seed is not None else random.randrange(1 << 30)
    log_dir = args.logs or tempfile.mkdtemp(prefix="vantle-soak-")
    os.makedirs(log_dir, exist_ok=True)
    print(f"soak: {args.seconds:.0f} s, seed {seed}, logs in {log_dir}", flush=True)
    server = None if os.environ.get("DISPLAY") else start_display()
    soak = Soak(os.path.abspath(args.program), args.seconds, log_dir, random.Random(seed))
    try:
        soak.run()
    finally:
        if server:
            server.terminate()
            server.wait()

    print(f"events: {soak.events} (message boxes answered: {soak.messages})")
    print(f"program starts: {soak.starts}")
    print(f"designed endings: {soak.designed_ends}")
    print(f"crashes and sanitizer reports: {len(soak.failures)}")
    for failure in soak.failures:
        print(f"  {failure}")
    # Memory: no run may grow by more than 10 % over its second half.
    memory_ok = True
    for seconds, judged, last in soak.runs:
        if judged and last:
            growth = (last - judged) / judged * 100
            print(f"memory over the second half of a run of {seconds:.0f} s: {judged} -> {last} kB "
                  f"({growth:+.1f} %)")
            memory_ok = memory_ok and growth <= 10.0
    if not any(judged for _, judged, _ in soak.runs):
        print("memory not judged: no run had shown every window by its half")
    if not memory_ok:
        print("memory grew by more than 10 %")
    return 0 if not soak.failures and memory_ok else 1


if __name__ == "__main__":
    sys.exit(main())
