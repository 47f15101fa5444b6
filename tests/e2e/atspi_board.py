#!/usr/bin/python3
"""The real program as assistive technology sees it, over AT-SPI.

Run inside a D-Bus session on an X display (scripts/screenshots.sh and the CTest entry
vantle_e2e_atspi do that):

  atspi_board.py PROGRAM [--shots DIR]

Starts PROGRAM with Qt's AT-SPI bridge on, reads every window and control by name and role,
deals group 1 of the first book by keys, reads the board's cells (names and screen
positions) and plays one pair by keys. Then the quiz: one round started by keys, its
question's text changes announced. Last, a board of entries that differ only in l, 1 and I,
or O and 0, dealt from an own book of such entries: every two of its English cells must
differ on screen. With --shots the dealt board and a quiz round are saved
as board.png and quiz.png in DIR. Exits 0 when everything held, 1 with the reasons
otherwise.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

DEADLINE = 30  # seconds to wait for anything the program should do
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what, file=sys.stderr)
    return condition


def pump():
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def wait_for(find, what):
    """Polls `find` until it gives something, pumping AT-SPI events meanwhile."""
    end = time.monotonic() + DEADLINE
    while time.monotonic() < end:
        pump()
        try:
            found = find()
        except Exception:  # the tree changes under us while the program works
            found = None
        if found:
            return found
        time.sleep(0.05)
    raise SystemExit("gave up waiting for " + what + "; so far: " + "; ".join(failures))


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def descendants(node):
    for child in children(node):
        if child is None:
            continue
        yield child
        yield from descendants(child)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def focused(node):
    return node.getState().contains(pyatspi.STATE_FOCUSED)


def extents(node):
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def frame(app, title_start):
    for window in children(app):
        if window is not None and window.name.startswith(title_start) and showing(window):
            return window
    return None


def named(window, name, role=None):
    for node in descendants(window):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    return None


def cells(window):
    """The board's shown cells: buttons of 74 x 86 logical pixels, by their screen place."""
    found = []
    for node in descendants(window):
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and showing(node):
            x, y, w, h = extents(node)
            if w > h and w < 2 * h:
                continue  # the mode column and the other wide buttons
            if h > w:
                found.append(node)
    return found


def own_book(program):
    """English entry -> meaning, from the sample own book beside the program (GBK, CR LF)."""
    path = os.path.join(os.path.dirname(program), "《My词库》.txt")
    with open(path, "rb") as f:
        lines = f.read().decode("gbk").split("\r\n")
    return {lines[i]: lines[i + 1] for i in range(0, len(lines) - 1, 2)}


def on_screen(node):
    """The node's place in screen pixels: AT-SPI gives logical pixels, and the screen has
    QT_SCALE_FACTOR times as many."""
    scale = float(os.environ.get("QT_SCALE_FACTOR", "1"))
    return tuple(round(v * scale) for v in extents(node))


def screenshot(window, path):
    x, y, w, h = on_screen(window)
    subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage", path],
                   check=True)


def choose_first_row_and_enter():
    key("Down")
    key("Return")


def choose_group_one():
    """The second row of the group list: group 1, the book's first 18 records (group 0 draws
    18 at random, the same one maybe twice)."""
    key("Down")
    key("Down")
    key("Return")


def play_board(app, program, shots):
    board = wait_for(lambda: frame(app, "Kestrin之连连看"), "the match window")
    check(board.getRole() == pyatspi.ROLE_FRAME, "the match window is a frame")
    check(named(board, "词库", pyatspi.ROLE_LIST) is not None, "the book list is named 词库")
    check(named(board, "组", pyatspi.ROLE_LIST) is not None, "the group list is named 组")
    check(named(board, "选书", pyatspi.ROLE_PUSH_BUTTON) is not None, "选书 is a named button")

    wait_for(lambda: focused(named(board, "词库")), "the focus on the book list")
    choose_first_row_and_enter()
    wait_for(lambda: focused(named(board, "组")), "the focus on the group list")
    choose_group_one()
    dealt = wait_for(lambda: len(cells(board)) == 36 and cells(board), "a dealt board")

    book = own_book(program)
    places = {}
    for cell in dealt:
        x, y, w, h = extents(cell)
        check(cell.name != "", "every cell is named by its caption")
        places[cell.name] = (x, y)
    xs = sorted({x for x, _ in places.values()})
    ys = sorted({y for _, y in places.values()})
    check(len(xs) == 6 and len(ys) == 6, f"the cells stand on a 6 x 6 grid: {xs} {ys}")
    check(all(name in book or name in book.values() for name in places),
          "every cell shows an entry or a meaning of the book")
    bar = named(board, "剩余时间", pyatspi.ROLE_PROGRESS_BAR)
    check(bar is not None, "the time bar is a progress bar named 剩余时间")
    before = bar.queryValue().currentValue if bar else 0
    check(bar is None or 0 < before <= bar.queryValue().maximumValue, "the bar shows time left")
    if shots:
        time.sleep(0.5)  # the repaint after the deal
        screenshot(board, os.path.join(shots, "board.png"))

    # One pair by keys: the first cell holds the focus; Enter there, then walk to its partner.
    first = wait_for(lambda: next((c for c in cells(board) if focused(c)), None), "a focused cell")
    partner_name = book.get(first.name) or next(e for e, m in book.items() if m == first.name)
    key("Return")
    partner = next(c for c in dealt if c.name == partner_name)
    tx, ty = extents(partner)[:2]
    for _ in range(40):
        now = wait_for(lambda: next((c for c in cells(board) if focused(c)), None), "the focus")
        if now.name == partner_name:
            key("Return")
            break
        x, y = extents(now)[:2]
        key("Right" if x < tx else "Left" if x > tx else "Down" if y < ty else "Up")
        wait_for(lambda: not focused(now) or None, "the focus to move")
    wait_for(lambda: len(cells(board)) == 34 or None, "the pair to leave the board")
    check(all(c.name not in (first.name, partner_name) for c in cells(board)),
          "the pair played by keys left the board")


def play_quiz(app, board, shots):
    names = []

    def heard(event):
        if event.source is not None and event.source.getRole() == pyatspi.ROLE_LABEL:
            names.append(event.source.name)

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
    named(board, "英汉互译", pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)
    quiz = wait_for(lambda: frame(app, "Kestrin之英汉互译"), "the quiz window")
    check(quiz.getRole() == pyatspi.ROLE_FRAME, "the quiz window is a frame")
    wait_for(lambda: focused(named(quiz, "词库")), "the focus on the quiz's book list")
    choose_first_row_and_enter()
    wait_for(lambda: focused(named(quiz, "组")), "the focus on the quiz's group list")
    choose_first_row_and_enter()
    wait_for(lambda: names or None, "the question announced")
    if shots:
        time.sleep(1.5)  # the question falls a little
        screenshot(quiz, os.path.join(shots, "quiz.png"))
    pyatspi.Registry.deregisterEventListener(heard, "object:property-change:accessible-name")


# Entries that a face with look-alike letters draws alike: l 1 I, O 0.
CONFUSABLES = ["l", "1", "I", "O", "0", "ill", "i11", "iII", "lO", "l0", "1O", "10", "IO",
               "I0", "boil", "bo1l", "b0il", "BOIL"]


def grab_screen(folder):
    """The whole screen as rows of RGB bytes (ImageMagick writes it as binary PPM)."""
    path = os.path.join(folder, "screen.ppm")
    subprocess.run(["import", "-window", "root", "-depth", "8", path], check=True)
    with open(path, "rb") as f:
        data = f.read()
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    width = int(header.group(1))
    return data[header.end():], width


def cell_pixels(screen, node):
    pixels, width = screen
    x, y, w, h = on_screen(node)
    return b"".join(pixels[3 * ((y + row) * width + x):3 * ((y + row) * width + x + w)]
                    for row in range(h))


def confusable_board(program):
    with tempfile.TemporaryDirectory() as data_home:
        os.makedirs(os.path.join(data_home, "vantle"))
        with open(os.path.join(data_home, "vantle", "《My词库》.txt"), "wb") as f:
            # Exactly one group: every group deals them all.
            for i, entry in enumerate(CONFUSABLES):
                f.write(f"{entry}\r\n义{i}\r\n".encode("utf-8"))
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb", XDG_DATA_HOME=data_home)
        started = subprocess.Popen([program], env=env)
        try:
            app = wait_for(lambda: application(started.pid), "the program on the AT-SPI bus")
            board = wait_for(lambda: frame(app, "Kestrin之连连看"), "the match window")
            wait_for(lambda: focused(named(board, "词库")), "the focus on the book list")
            choose_first_row_and_enter()
            wait_for(lambda: focused(named(board, "组")), "the focus on the group list")
            choose_group_one()
            wait_for(lambda: len(cells(board)) == 36 or None, "a dealt board")
            time.sleep(0.5)  # the repaint after the deal
            english = [c for c in cells(board) if c.name in CONFUSABLES and not focused(c)]
            check(len({c.name for c in english}) >= len(CONFUSABLES) - 1,
                  "the look-alike entries are dealt")
            screen = grab_screen(data_home)
            drawn = [(c.name, cell_pixels(screen, c)) for c in english]
            for i, (a, pixels_a) in enumerate(drawn):
                for b, pixels_b in drawn[i + 1:]:
                    check(pixels_a != pixels_b, f"the cells {a} and {b} look the same")
        finally:
            started.terminate()
            started.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--shots")
    args = parser.parse_args()
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([args.program], env=env)
    try:
        app = wait_for(lambda: application(program.pid), "the program on the AT-SPI bus")
        play_board(app, args.program, args.shots)
        play_quiz(app, frame(app, "Kestrin之连连看"), args.shots)
    finally:
        program.terminate()
        program.wait()
    if not args.shots:
        confusable_board(args.program)
    if failures:
        print("\n".join(failures), file=sys.stderr)
        return 1
    print("AT-SPI: every check held")
    return 0


if __name__ == "__main__":
    sys.exit(main())
