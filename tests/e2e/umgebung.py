"""A desktop of its own for the end-to-end tests.

An X server (Xvfb), a D-Bus session bus, the accessibility bus with its
registry and a window manager (openbox), all private to one test run, so the
tests never meet the user's own desktop, settings or running program. The
environment variables are set here, before pyatspi is imported, because
libatspi reads the display and the session bus once, at its start.
"""

import os
import shutil
import subprocess
import tempfile
import time

WERKZEUGE = ["Xvfb", "dbus-daemon", "openbox", "xdotool", "import"]
BUS_STARTER = ["/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"]


def _fehlende_werkzeuge():
    fehlend = [w for w in WERKZEUGE if shutil.which(w) is None]
    if not any(os.access(p, os.X_OK) for p in BUS_STARTER):
        fehlend.append("at-spi-bus-launcher")
    return fehlend


def _zeile_lesen(fd, frist):
    """Reads one line from a pipe a child writes its address into."""
    ende = time.monotonic() + frist
    puffer = b""
    os.set_blocking(fd, False)
    while time.monotonic() < ende:
        try:
            stueck = os.read(fd, 256)
        except BlockingIOError:
            stueck = None
        if stueck:
            puffer += stueck
            if b"\n" in puffer:
                return puffer.split(b"\n", 1)[0].decode()
        elif stueck == b"":
            break
        time.sleep(0.02)
    raise RuntimeError("Keine Antwort beim Start der Testumgebung")


class Umgebung:
    """Starts the private desktop; `beenden` stops everything it started."""

    def __init__(self, breite=1280, hoehe=1024):
        fehlend = _fehlende_werkzeuge()
        if fehlend:
            raise RuntimeError(
                "Für die Ende-zu-Ende-Tests fehlen: " + ", ".join(fehlend) +
                " (scripts/abhaengigkeiten.sh installiert sie)")
        self.ordner = tempfile.mkdtemp(prefix="zw-e2e-")
        self.prozesse = []
        self.protokoll = open(os.path.join(self.ordner, "umgebung.log"), "wb")
        try:
            self._starten(breite, hoehe)
        except BaseException:
            self.beenden()
            raise

    def _hintergrund(self, befehl, **kw):
        p = subprocess.Popen(befehl, stdout=kw.pop("stdout", self.protokoll),
                             stderr=self.protokoll, start_new_session=True, **kw)
        self.prozesse.append(p)
        return p

    def _starten(self, breite, hoehe):
        # The X server picks a free display and tells its number.
        lesen, schreiben = os.pipe()
        self._hintergrund(["Xvfb", "-displayfd", str(schreiben), "-screen", "0",
                           f"{breite}x{hoehe}x24", "-nolisten", "tcp", "-noreset"],
                          pass_fds=(schreiben,))
        os.close(schreiben)
        os.environ["DISPLAY"] = ":" + _zeile_lesen(lesen, 20).strip()
        os.close(lesen)

        lesen, schreiben = os.pipe()
        self._hintergrund(["dbus-daemon", "--session", "--nofork",
                           f"--print-address={schreiben}"], pass_fds=(schreiben,))
        os.close(schreiben)
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = _zeile_lesen(lesen, 20).strip()
        os.close(lesen)

        laufzeit = os.path.join(self.ordner, "laufzeit")
        os.mkdir(laufzeit, 0o700)
        os.environ["XDG_RUNTIME_DIR"] = laufzeit
        os.environ["XDG_CONFIG_HOME"] = os.path.join(self.ordner, "konfiguration")
        os.environ["HOME"] = os.path.join(self.ordner, "heim")
        os.makedirs(os.environ["HOME"])
        # Qt speaks AT-SPI only when a screen reader is running or when told.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        os.environ["QT_ACCESSIBILITY"] = "1"
        os.environ.pop("QT_QPA_PLATFORM", None)
        os.environ["LANG"] = "C.UTF-8"
        os.environ.pop("LC_ALL", None)

        starter = next(p for p in BUS_STARTER if os.access(p, os.X_OK))
        self._hintergrund([starter, "--launch-immediately"])
        self._hintergrund(["openbox", "--sm-disable"])
        # The window manager is ready once it owns the screen.
        ende = time.monotonic() + 20
        while time.monotonic() < ende:
            r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                               capture_output=True, text=True)
            if r.returncode == 0 and "window id" in r.stdout:
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("Der Fenstermanager startet nicht")

    def bildschirmfoto(self, pfad):
        subprocess.run(["import", "-window", "root", pfad], check=True,
                       stderr=subprocess.DEVNULL)

    def beenden(self):
        for p in reversed(self.prozesse):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
        self.protokoll.close()
        shutil.rmtree(self.ordner, ignore_errors=True)
