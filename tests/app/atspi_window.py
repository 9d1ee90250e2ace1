#!/usr/bin/env python3
"""The window read through AT-SPI, as a screen reader reads it: every control is found by role
and name, Generate is pressed, and one row is unticked through the accessible tree.

Starts its own X server and D-Bus session. Exits 77 (skipped) where they or the AT-SPI bus
cannot start, or the Python bindings are missing, saying why."""

import importlib.util, os, random, shutil, socket, subprocess, sys, tempfile, time

SKIPPED = 77


def skip(why):
    print(f"SKIPPED: {why}")
    sys.exit(SKIPPED)


def fail(why):
    print(f"FAIL: {why}")
    sys.exit(1)


def display_in_use(number):
    # X clients try the abstract socket first, which is shared by everything in this network
    # namespace, even by servers whose lock files another /tmp hides.
    probe = socket.socket(socket.AF_UNIX)
    try:
        probe.connect(f"\0/tmp/.X11-unix/X{number}")
        return True
    except OSError:
        return os.path.exists(f"/tmp/.X{number}-lock")
    finally:
        probe.close()


# Without -noreset the server resets when its last client leaves, as the accessibility bus
# launcher's first connection does, and refuses the window's connection meanwhile.
def start_x_server():
    # Far from the numbers xvfb-run and desktops take.
    first = random.randrange(1000, 30000)
    number = next((n for n in range(first, first + 100) if not display_in_use(n)), None)
    if number is None:
        skip("no free X display number")
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", f":{number}", "-displayfd", str(write), "-screen", "0",
                               "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                              pass_fds=(write,), stderr=subprocess.DEVNULL)
    os.close(write)
    ready = b""
    while not ready.endswith(b"\n"):  # the number, then a line end once it is ready
        chunk = os.read(read, 16)
        if not chunk:
            skip(f"Xvfb did not start on :{number}")
        ready += chunk
    os.close(read)
    return server, f":{number}"


def outer(exe, favorites):
    for tool in ("Xvfb", "dbus-run-session", "dbus-send"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed")
    if importlib.util.find_spec("pyatspi") is None:
        skip(f"{sys.executable} has no pyatspi module (Debian: python3-pyatspi)")
    server, display = start_x_server()
    try:
        env = dict(os.environ, QUILLON_ATSPI_SESSION="1", DISPLAY=display)
        env.pop("WAYLAND_DISPLAY", None)
        cmd = ["dbus-run-session", "--", sys.executable, __file__, exe, favorites]
        return subprocess.run(cmd, env=env).returncode
    finally:
        server.terminate()
        server.wait()


def wait_for(what, check, seconds=30):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = check()
        if found:
            return found
        time.sleep(0.2)
    fail(f"gave up waiting for {what}")


def inner(exe, favorites):
    bus = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                          "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                         capture_output=True, text=True, timeout=30)
    if bus.returncode != 0:
        skip(f"the accessibility bus did not start: {bus.stderr.strip()}")
    import pyatspi

    home = tempfile.mkdtemp(prefix="quillon-atspi-")
    folder = shutil.copytree(favorites, os.path.join(home, "Favorites"))
    env = {k: v for k, v in os.environ.items() if k not in ("WINEPREFIX", "LANGUAGE")}
    env.update(HOME=home, XDG_CONFIG_HOME=f"{home}/.config", XDG_DATA_HOME=f"{home}/.local",
               LC_ALL="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    window = subprocess.Popen([exe, folder], env=env)
    try:
        app = wait_for("the window on the accessibility bus", lambda: next(
            (a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Quillon"), None))

        def find(role, name):
            return pyatspi.findDescendant(
                app, lambda o: o.getRoleName() == role and o.name == name)

        controls = [("push button", "Generate"), ("push button", "Write To File"),
                    ("push button", "Exit"), ("push button", "Stop"),
                    ("progress bar", "Progress"), ("radio button", ".DAT list"),
                    ("radio button", ".HTML page or bookmarks"), ("list", "Folders"),
                    ("table", "Links found"), ("panel", "OutPut Options"),
                    ("label", "Browse to your Favorites folder")]
        missing = [c for c in controls if not find(*c)]
        combo = pyatspi.findDescendant(app, lambda o: o.getRoleName() == "combo box")
        labels = [t.name for r in combo.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for t in (r.getTarget(i) for i in range(r.getNTargets()))]
        if labels != ["Drive"]:
            missing.append(("combo box labelled by", "Drive"))
        if missing:
            fail(f"controls not found by role and name: {missing}")

        press = find("push button", "Generate").queryAction()
        press.doAction([press.getName(i) for i in range(press.nActions)].index("Press"))
        table = find("table", "Links found")
        grid = wait_for("rows", lambda: table.queryTable().nRows >= 2 and table.queryTable())

        def tick(row):
            cell = grid.getAccessibleAt(row, 0)
            site = grid.getAccessibleAt(row, 2).name
            if cell.name != f"Tick {site}":
                fail(f"row {row}'s tick cell is named {cell.name!r}, not after {site!r}")
            return cell.getState().contains(pyatspi.STATE_CHECKED)

        if not (tick(0) and tick(1)):
            fail("the first rows do not start ticked")
        # A reader's user moves to the row's tick cell, hears it, and presses Space. The grid
        # gets the focus by Tab once a click has made the window active.
        caption = find("label", "Browse to your Favorites folder").queryComponent()
        box = caption.getExtents(pyatspi.DESKTOP_COORDS)
        pyatspi.Registry.generateMouseEvent(box.x + 2, box.y + box.height // 2, "b1c")

        def focus_by_tab():
            if table.getState().contains(pyatspi.STATE_FOCUSED):
                return True
            pyatspi.Registry.generateKeyboardEvent(0xFF09, None, pyatspi.KEY_SYM)
            return False

        wait_for("the grid to take the focus by Tab", focus_by_tab)
        pyatspi.Registry.generateKeyboardEvent(0xFF54, None, pyatspi.KEY_SYM)  # Down
        wait_for("row 1 to be current", lambda: grid.getAccessibleAt(1, 0).getState().contains(
            pyatspi.STATE_FOCUSED))
        pyatspi.Registry.generateKeyboardEvent(0x20, None, pyatspi.KEY_SYM)
        wait_for("row 1 to be unticked", lambda: not tick(1), seconds=10)
        if not tick(0):
            fail("unticking row 1 also unticked row 0")
        print("PASS: every control found by role and name; Generate pressed; row 1 unticked")
    finally:
        window.terminate()
        window.wait(timeout=30)
        shutil.rmtree(home, ignore_errors=True)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit("usage: atspi_window.py QUILLON_PROGRAM FAVORITES_FOLDER")
    run = inner if os.environ.get("QUILLON_ATSPI_SESSION") else outer
    sys.exit(run(sys.argv[1], sys.argv[2]))
