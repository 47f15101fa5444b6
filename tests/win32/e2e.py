#!/usr/bin/env python3
"""e2e.py PROBE OWN_BOOK WORK: plays one round of the match game in the running Vantle.exe
with real clicks. The probe (run under wine) reads the windows; xdotool clicks at the
centres it prints. The board's cells are paired by the own book's lines (GBK, an English
line then its Chinese line)."""
import subprocess
import sys
import time

MATCH = "Kestrin之连连看V3.6"
BOOK = "《My词库》"


def probe(*args, check=True):
    done = subprocess.run(["wine", PROBE, *args], capture_output=True)
    out = done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")
    if check and done.returncode != 0:
        sys.exit("FAIL: probe %s: exit %d" % (" ".join(args), done.returncode))
    return out


def controls(title):
    """The children of the window titled `title`: dicts of handle, class, shown, text, rect."""
    rows = []
    for line in probe("list", title).splitlines():
        depth, handle, kind, shown, enabled, rect, text = (line.split("\t") + [""])[:7]
        if depth == "0":
            continue
        rows.append({"handle": handle, "class": kind.lower(), "shown": shown == "1",
                     "enabled": enabled == "1", "rect": [int(v) for v in rect.split()],
                     "text": text.replace("&&", "&")})
    return rows


def click_at(x, y):
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True)
    time.sleep(0.05)


def centre(control):
    left, top, right, bottom = control["rect"]
    return (left + right) // 2, (top + bottom) // 2


def shown(title, kind, text=None):
    found = [c for c in controls(title) if c["shown"] and c["class"] == kind and
             (text is None or c["text"] == text)]
    if not found:
        sys.exit("FAIL: no shown %s %s in %s" % (kind, text or "", title))
    return found


def choose_row(title, wanted, button):
    """Clicks the row `wanted` of the shown list box, then the button captioned `button`."""
    for box in shown(title, "listbox"):
        rows = probe("rows", box["handle"]).splitlines()
        if wanted in rows:
            click_at(*map(int, probe("row", box["handle"], str(rows.index(wanted))).split()))
            click_at(*centre(shown(title, "button", button)[0]))
            return
    sys.exit("FAIL: no list shows %s" % wanted)


def answer_message(expect):
    handle, text = probe("message", "20000").rstrip("\n").split("\t", 1)
    if expect not in text:
        sys.exit("FAIL: message %r does not say %r" % (text, expect))
    click_at(*centre(shown("Vantle", "button", "确定")[0]))
    print("message answered: " + text)
    return handle


def book_pairs(path):
    with open(path, "rb") as f:
        lines = f.read().decode("gbk").replace("\r\n", "\n").split("\n")
    return {lines[k]: lines[k + 1] for k in range(0, len(lines) - 1, 2)}


def clear_board(title, pairs):
    cells = shown(title, "button")
    by_text = {}
    for cell in cells:
        by_text.setdefault(cell["text"], []).append(cell)
    cleared = 0
    for english, chinese in pairs.items():
        if english in by_text and chinese in by_text and by_text[english] and by_text[chinese]:
            click_at(*centre(by_text[english].pop()))
            click_at(*centre(by_text[chinese].pop()))
            cleared += 1
    if cleared != 18:
        sys.exit("FAIL: paired %d of 18 on the board (%d cells)" % (cleared, len(cells)))


def main():
    if not probe("wait", MATCH, "60000", check=False):
        sys.exit("FAIL: the match window %s did not come" % MATCH)
    choose_row(MATCH, BOOK, "选书")
    time.sleep(0.5)
    choose_row(MATCH, "1", "选组")
    playing = MATCH + " - " + BOOK + " - 1"
    if not probe("wait", playing, "20000", check=False):
        sys.exit("FAIL: the title did not become %s" % playing)
    clear_board(playing, book_pairs(OWN_BOOK))
    answer_message("本局共 18 个单词")
    # Closing the window: wine under Xvfb has no window manager to draw a close box, so the
    # probe posts WM_CLOSE, as the close box does.
    probe("close", probe("wait", playing, "5000").strip())
    answer_message("Good-Bye!")


if __name__ == "__main__":
    PROBE, OWN_BOOK, WORK = sys.argv[1:4]
    main()
