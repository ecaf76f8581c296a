#!/usr/bin/python3
"""A short contest followed the way a blind operator follows it: through AT-SPI.

Runs the logger under Xvfb with its accessibility bridge on, in a D-Bus session of its own with
the AT-SPI bus (the shell wrapper starts those), and listens as a screen reader does. It types a contact, a
dupe, lets a loopback cluster post spots and drop the link, asks for the last spot and the
contest state, then checks what a screen reader would have said, in order. It reads the band
map's spots as list items, walks them with the arrow keys and tunes one with Enter, and tabs
through the main window and the station's other windows, failing on a control without a name.

Usage: screenreader_test.py <path of velk>
"""
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

OWN_CALL = "K9XX"
WAIT = 20  # seconds a step may take on a loaded machine before the test gives up


SPOKEN = []


class Failure(Exception):
    pass


def pump(seconds=0.05):
    """Lets AT-SPI events arrive for a moment."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, condition, timeout=WAIT):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump(0.05)
        result = condition()
        if result:
            return result
    raise Failure("gave up waiting for " + what + "; said so far: %r" % SPOKEN)


def role(acc):
    if acc is None:
        return ""
    try:
        return acc.get_role_name()
    except GLib.Error:
        return ""


def name(acc):
    if acc is None:
        return ""
    try:
        return acc.get_name() or ""
    except GLib.Error:
        return ""


def showing(acc):
    try:
        return acc.get_state_set().contains(Atspi.StateType.SHOWING)
    except GLib.Error:
        return False


def children(acc):
    try:
        return [acc.get_child_at_index(i) for i in range(acc.get_child_count())]
    except GLib.Error:
        return []


def find(acc, predicate, depth=0):
    if acc is None or depth > 25:
        return None
    if predicate(acc):
        return acc
    for child in children(acc):
        found = find(child, predicate, depth + 1)
        if found is not None:
            return found
    return None


class Cluster:
    """A loopback DX cluster: posts the lines it is given to the one client, then hangs up."""

    def __init__(self):
        self.server = socket.socket()
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.port = self.server.getsockname()[1]
        self.lines = []
        self.go = threading.Event()
        self.connected = threading.Event()
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        client, _ = self.server.accept()
        self.connected.set()
        self.go.wait(WAIT * 3)
        for line in self.lines:
            client.sendall(line.encode("latin-1") + b"\r\n")
            time.sleep(0.3)
        time.sleep(0.5)
        client.close()

    def post_and_hang_up(self, lines):
        self.lines = lines
        self.go.set()


class Logger:
    """The program under Xvfb, its keyboard and what a screen reader hears from it."""

    def __init__(self, velk, folder):
        self.folder = folder
        self.env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                        TZ="UTC", HOME=os.path.join(folder, "home"), VELK_HOME=os.path.join(folder, "work"),
                        LANG="C.UTF-8")
        self.env.pop("QT_QPA_PLATFORM", None)
        Atspi.init()
        self.spoken = SPOKEN
        self.focus = []
        self.listeners = []
        self.listen("object:state-changed:showing", self.on_showing)
        self.listen("object:state-changed:focused", self.on_focused)
        pump(0.5)
        self.velk = subprocess.Popen([velk, "--folder", self.env["VELK_HOME"]], env=self.env,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.app = wait_for("the logger on the accessibility bus", self.find_app)

    def listen(self, event, handler):
        listener = Atspi.EventListener.new(handler)
        listener.register(event)
        self.listeners.append(listener)

    def on_showing(self, event):
        # Orca speaks a notification when it appears: its role name and the labels inside it
        # (newer versions its name too).
        if event.detail1 == 1 and role(event.source) == "notification":
            labels = [name(c) for c in children(event.source) if role(c) == "label"]
            self.spoken.append(" ".join([name(event.source)] + labels).strip())

    def on_focused(self, event):
        if event.detail1 == 1:
            self.focus.append(event.source)

    def find_app(self):
        desktop = Atspi.get_desktop(0)
        for app in children(desktop):
            if name(app) == "VELK":
                return app
        return None

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "60", *keys], env=self.env, check=True)
        pump(0.3)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "60", text], env=self.env, check=True)
        pump(0.3)

    def window(self, title_part):
        return find(self.app, lambda a: role(a) in ("frame", "dialog", "window", "alert")
                    and title_part in name(a) and showing(a))

    def focused(self):
        return self.focus[-1] if self.focus else None

    def close(self):
        for process in (self.velk,):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()


DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "data")


def write_settings(work, port):
    # Seeded as the start command seeds a new working folder: the prefix table above all.
    shutil.copytree(DATA, work)
    with open(os.path.join(work, "PackSpot.txt"), "wb") as f:
        f.write(b'"9600"\r\n"N"\r\n"8"\r\n"1"\r\n1\r\n"N"\r\n"Telnet"\r\n0\r\n1\r\n0\r\n#FALSE#\r\n'
                b'"03"\r\n"' + str(port).encode() + b'"\r\n"127.0.0.1"\r\n')


def pass_start_up(logger):
    wait_for("the station dialog", lambda: logger.window("Station I.D."))
    logger.type(OWN_CALL)
    logger.key("Tab")
    logger.type("CT")
    logger.key("Return")  # Done
    wait_for("the station dialog to close", lambda: logger.window("Station I.D.") is None)
    wait_for("the open-log question", lambda: find(logger.app, lambda a: "existing" in name(a)))
    logger.key("Return")  # Yes: the (empty) log is read
    wait_for("the call box", lambda: name(logger.focused()) == "Call sign")


def expect_spoken(logger, expected, start):
    """The announcements since `start` hold each expected text, in order."""
    said = logger.spoken[start:]
    position = 0
    for text in expected:
        while position < len(said) and not said[position].startswith(text):
            position += 1
        if position == len(said):
            raise Failure("not said in order: %r\nsaid: %r" % (text, said))
        position += 1


def contest(logger, cluster):
    start = len(logger.spoken)
    logger.type("K1ABC")
    logger.key("Tab")
    logger.type("BOB")
    logger.key("Tab")
    logger.type("MA")
    logger.key("Return")
    wait_for("the logged contact", lambda: any(s.startswith("Logged K1ABC") for s in logger.spoken[start:]))
    # The prefix lookup makes the location Mexico: a North American DX country not yet worked.
    logger.type("XE1ABC")
    wait_for("the new multiplier", lambda: "New multiplier" in logger.spoken[start:])
    logger.key("Tab")
    logger.type("JUAN")
    logger.key("Return")
    wait_for("the second contact", lambda: any(s.startswith("Logged XE1ABC") for s in logger.spoken[start:]))

    logger.type("K1ABC")
    logger.key("Tab")
    wait_for("the dupe", lambda: any(s.startswith("Duplicate K1ABC") for s in logger.spoken[start:]))
    logger.key("Escape")

    logger.key("ctrl+d")  # the spot window opens and connects
    wait_for("the spot window to connect", cluster.connected.is_set)
    cluster.post_and_hang_up([
        "DX de DL1ABC:    14030.0  " + OWN_CALL + "         cq test                        1200Z",
        "DX de K1TTT:     14025.0  DL1ABC       big signal                     1201Z",
        "DX de K1TTT:     14012.5  OH2XX        cq                             1202Z",
    ])
    wait_for("the lost link", lambda: any(s.startswith("Lost the link") for s in logger.spoken[start:]))
    logger.key("alt+d")  # Done: back to the main window
    wait_for("the call box again", lambda: name(logger.focused()) == "Call sign")
    logger.key("ctrl+l")
    wait_for("the last spot", lambda: any(s.startswith("Last spot") for s in logger.spoken[start:]))
    logger.key("ctrl+t")
    wait_for("the contest state", lambda: any(s.startswith("Score") for s in logger.spoken[start:]))

    expect_spoken(logger, [
        "Logged K1ABC, 20 metres, contact 1, new multiplier",
        "New multiplier",
        "Logged XE1ABC, 20 metres, contact 2, new multiplier",
        "Duplicate K1ABC",
        "You've been spotted! ",
        "Lost the link to the spot source.",
        "Last spot: OH2XX, 14.0125 megahertz",
        "Score 4. 2 contacts, 2 multipliers, 2 on 20 metres.",
    ], start)
    said = logger.spoken[start:]
    if len(said) != len(set(said)):
        raise Failure("something was said twice: %r" % said)
    typed = [s for s in said if s in ("K", "K1", "K1ABC", "BOB", "MA", "XE1ABC", "JUAN")]
    if typed:
        raise Failure("keystrokes were said: %r" % typed)
    return said


def band_map(logger):
    view = wait_for("the band map", lambda: find(logger.app, lambda a: role(a) == "list"
                                                 and name(a) == "Band map"))
    spots = [name(c) for c in children(view) if role(c) == "list item"]
    expected = ["OH2XX, 14.0125 megahertz", "DL1ABC, 14.025 megahertz", OWN_CALL + ", 14.030 megahertz"]
    if len(spots) != 3 or any(not s.startswith(e) for s, e in zip(spots, expected)):
        raise Failure("band map reads %r" % spots)
    # From the call box, Tab reaches the map with the first spot focused.
    def on_map(acc):
        try:
            return role(acc) == "list item" and name(acc.get_parent()) == "Band map"
        except GLib.Error:
            return False

    passed = []
    for _ in range(40):
        logger.key("Tab")
        passed.append("%s '%s'" % (role(logger.focused()), name(logger.focused())))
        if on_map(logger.focused()):
            break
    if not name(logger.focused()).startswith("OH2XX"):
        raise Failure("Tab did not reach the band map's first spot: %r" % passed)
    logger.key("Right")
    wait_for("the next spot", lambda: name(logger.focused()).startswith("DL1ABC"))
    logger.key("Return")  # tunes as the right click does: the call goes to the call box
    call_box = find(logger.app, lambda a: role(a) == "text" and name(a) == "Call sign")
    wait_for("the spot's call in the call box",
             lambda: call_box.get_text(0, -1) == "DL1ABC")
    return spots


def unnamed_on_tab(logger, window_name, limit=60):
    """Tabs round a window; the controls it reaches and those without a name."""
    seen = []
    unnamed = []
    for _ in range(limit):
        logger.key("Tab")
        acc = logger.focused()
        if acc is None:
            continue
        label = "%s '%s'" % (role(acc), name(acc))
        if seen and label == seen[0]:
            break
        if label not in seen:
            seen.append(label)
            if not name(acc).strip():
                unnamed.append(label)
    return seen, ["%s: %s" % (window_name, u) for u in unnamed]


def active_window(logger):
    for window in children(logger.app):
        try:
            if window.get_state_set().contains(Atspi.StateType.ACTIVE):
                return window
        except GLib.Error:
            pass
    return None


def close_window(logger, window, window_name):
    """Escape closes a dialog; the station's other windows close with their Done button (Alt+D)."""
    for keys in ("Escape", "alt+d"):
        logger.key(keys)
        try:
            wait_for("the %s to close" % window_name, lambda: not showing(window), 3)
            break
        except Failure:
            pass
    else:
        raise Failure("the %s does not close from the keyboard" % window_name)
    # Xvfb has no window manager to give the focus back to the main window, as a desktop does.
    if not name(active_window(logger)).startswith("Varno"):
        subprocess.run(["xdotool", "search", "--name", "^Varno", "windowfocus"], env=logger.env)
    wait_for("the main window", lambda: name(active_window(logger)).startswith("Varno"))


def tab_walk(logger):
    # The CW strings window (Ctrl+W) is left out: it opens beside the main window without taking
    # the keyboard, and what it does the function keys do.
    report = {}
    problems = []
    seen, unnamed = unnamed_on_tab(logger, "main window")
    report["main window"] = seen
    problems += unnamed
    for keys, title in (("ctrl+d", "spot window"), ("ctrl+b", "HF spectrum map"),
                        ("ctrl+r", "rig interface"), ("ctrl+c", "CW string selections"),
                        ("ctrl+g", "change frequency and mode"),
                        ("ctrl+f", "frequency privileges")):
        logger.key(keys)
        pump(1.0)
        first = logger.focused()
        window = wait_for("the " + title, lambda: (lambda w: w if w and not name(w).startswith("Varno")
                                                   else None)(active_window(logger)))
        logger.focus.clear()
        seen, unnamed = unnamed_on_tab(logger, title, limit=50)
        opened_on = "%s '%s'" % (role(first), name(first))
        if opened_on not in seen:
            seen.insert(0, opened_on)
            if not name(first).strip():
                unnamed.append("%s: %s" % (title, opened_on))
        report["%s (%s)" % (title, name(window).strip())] = seen
        problems += unnamed
        close_window(logger, window, title)
    return report, problems


def progress(text):
    print(text, flush=True)


def main():
    velk = sys.argv[1]
    folder = tempfile.mkdtemp(prefix="velk-screenreader-")
    cluster = Cluster()
    write_settings(os.path.join(folder, "work"), cluster.port)
    logger = None
    try:
        logger = Logger(velk, folder)
        progress("the logger is on the accessibility bus")
        pass_start_up(logger)
        progress("start-up passed")
        said = contest(logger, cluster)
        print("A screen reader says, in order:")
        for text in said:
            print("  notification: " + text)
        spots = band_map(logger)
        print("The band map reads: " + "; ".join(spots))
        report, problems = tab_walk(logger)
        for window, controls in report.items():
            print("Tab in the %s reaches: %s" % (window, ", ".join(controls)))
        if problems:
            raise Failure("controls without a name:\n  " + "\n  ".join(problems))
    except Failure as failure:
        print("FAILED: %s" % failure)
        if os.environ.get("VELK_SCREENREADER_SHOT"):
            subprocess.run(["import", "-window", "root", os.environ["VELK_SCREENREADER_SHOT"]])
        return 1
    finally:
        if logger:
            logger.close()
        shutil.rmtree(folder, ignore_errors=True)
    print("PASSED")
    return 0


if __name__ == "__main__":
    code = main()
    sys.stdout.flush()
    # Straight out: the AT-SPI bindings' own clean-up at exit may outlive the bus.
    os._exit(code)
