"""はしごろう as a screen reader meets it, over AT-SPI: the tree it reads at the prompt, in the
main window and in the help window, and what it is told as an experiment runs, without the
focus moving. Everything is done through the accessibility bus, as a blind pupil's screen
reader does: text typed into the entry, buttons pressed by their actions."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what, flush=True)


def descendants(accessible):
    for child in accessible:
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, role, name=None, timeout=20):
    """The first descendant of `root` with `role` (and `name`), waited for."""
    end = time.monotonic() + timeout
    while True:
        for node in descendants(root):
            if node.getRoleName() == role and (name is None or node.name == name):
                return node
        if time.monotonic() > end:
            raise AssertionError(f"no {role} {name!r} under {root.getRoleName()} {root.name!r}")
        time.sleep(0.2)


def application(name="hashigoro", timeout=20):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.2)
    raise AssertionError(f"{name} never reached the accessibility bus")


def soon(condition, timeout=10):
    """True once `condition()` holds, asked again every tenth of a second for `timeout` s: the
    focus and names reach the bus a moment after the action, later on a busy machine."""
    end = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > end:
            return False
        time.sleep(0.1)
    return True


def press(button):
    button.queryAction().doAction(0)


def focused(root):
    return [node.name for node in descendants(root)
            if node.getState().contains(pyatspi.STATE_FOCUSED)]


def listen(seconds, events):
    """Runs the bus's loop for `seconds`, keeping what `events` names as (type, source, name)."""
    heard = []

    def hear(event):
        heard.append((event.type, event.detail1, event.source.getRoleName(), event.source.name))

    pyatspi.Registry.registerEventListener(hear, *events)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() or False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(hear, *events)
    return heard


program = subprocess.Popen([sys.argv[1]])
try:
    app = application()
    # The prompt: its title, its text, the entry with the focus, its two buttons.
    prompt = find(app, "dialog", " はしごろう横線本数の設定")
    entry = find(prompt, "text")
    check(soon(lambda: entry.getState().contains(pyatspi.STATE_FOCUSED)),
          "the prompt's entry has the focus")
    check(find(prompt, "label").name == "10以上50以下の整数を入力してください．．．",
          "the prompt's text is read")
    entry.queryEditableText().setTextContents("10")
    press(find(prompt, "push button", "OK"))

    window = find(app, "frame", "はしごろう")
    time.sleep(1)
    shown = [(node.getRoleName(), node.name) for node in window]
    print("main window:", shown, flush=True)
    check(("label", "はしごろう") in shown, "the title is read as one word")
    check(("push button", "停止") in shown, "the stop button's name has no layout spaces")
    check(not any(name == "抽選" for _, name in shown), "the hidden draw button is not offered")
    check(len(list(descendants(window))) < 40, "the squares are not offered one by one")
    ladder = find(window, "image", "はしごろう")
    check(ladder.description == "横線10本のはしごろう。3本目から出発します。",
          f"the ladder is described: {ladder.description!r}")
    bars = find(window, "list", "着いた回数")
    check([bar.name for bar in bars] == [f"{n}本目：0回" for n in range(1, 11)],
          "the ten bars are one list, each with its count")
    check(soon(lambda: focused(window) == ["はしごろう作成・抽選の開始"]),
          "after the prompt the focus is on start")

    # One trial or two: each arrival told once, through the notification, the focus unmoved.
    press(find(window, "push button", "はしごろう作成・抽選の開始"))
    events = ["object:state-changed:showing", "object:property-change:accessible-name"]
    heard = listen(12, events)
    check(soon(lambda: focused(window) == ["停止"]), "while the trials run the focus is on stop")
    # Stopped, and heard a moment longer: an arrival on its way is told before the bars are read.
    press(find(window, "push button", "停止"))
    heard += listen(1.5, events)
    told = [name for kind, shows, role, name in heard
            if role == "notification" and kind == "object:state-changed:showing" and shows]
    print("told:", told, flush=True)
    check(len(told) >= 1 and all("本目に着きました（" in name for name in told),
          "each arrival is told")
    counts = [int(bar.queryValue().currentValue) for bar in bars]
    check(sum(counts) == len(told), f"each arrival told once: {counts} against {told}")
    check(all(bar.name == f"{n}本目：{c}回" for n, (bar, c) in enumerate(zip(bars, counts), 1)),
          "each bar's name says its count")
    check(ladder.description.startswith("横線10本のはしごろう。3本目から出発し、"),
          f"the ladder says where the marker arrived: {ladder.description!r}")
    check(find(window, "label", "横線 10 本のうち 10 本") is not None,
          "the rung counter says what it counts")
    check(soon(lambda: focused(window) == ["はしごろう作成・抽選の開始"]),
          "after stop the focus is on start")

    # The help: its lines one by one, without their indentation, and its close button focused.
    press(find(window, "push button", "HELP"))
    help_window = find(app, "frame", "はしごろう＿ヘルプ（設問と操作方法）")
    document = find(help_window, "document frame")
    lines = [line.name for line in document]
    print("help:", lines, flush=True)
    check(len(lines) >= 8 and lines[0] == "【問題】" and
          all(line and line == line.strip() and "\u3000" not in line for line in lines),
          "the help's lines are read one by one, without their indentation")
    check(soon(lambda: focused(help_window) == ["閉じる"]), "the help's close button has the focus")
finally:
    program.terminate()
    program.wait(10)

# The answer sheet: each chart a table named by its title, its numbers the sheet's own.
if len(sys.argv) > 2:
    odds = subprocess.Popen([sys.argv[2]])
    try:
        app = application(name="hashigoro-odds")
        arrivals = find(app, "table", "どの線に着くか（%）")
        table = arrivals.queryTable()
        check(table.nColumns == 4 and table.nRows == 10, "the arrivals chart is a table of 10 lines")
        check([table.getColumnDescription(c) for c in range(1, 4)] ==
              ["理論値", "シミュレーション", "公平なら 10\u00a0%"], "its columns are its series")
        third = [table.getAccessibleAt(2, c).name for c in (0, 1, 3)]
        check(third[0] == "3本目" and abs(float(third[1]) - 14.9578) < 1e-3 and third[2] == "10",
              f"line 3's row holds its exact odds at 50 rungs: {third}")
        for title in ("公平からのずれ（全変動距離、%）", "偏りを見抜く確率（5\u00a0% の検定）"):
            chart = find(app, "table", title)
            check(chart.queryTable().nRows > 10, f"{title} is a table of its curve")
            check(chart.getState().contains(pyatspi.STATE_FOCUSABLE), f"{title} takes the focus")
    finally:
        odds.terminate()
        odds.wait(10)

print("FAILED" if failures else "PASSED", len(failures), flush=True)
sys.exit(1 if failures else 0)
