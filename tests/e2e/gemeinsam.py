"""What every end-to-end test shares: the program's paths, the private desktop,
the announcements recorded for the whole run, and a test base class that
starts the program with a settings folder of its own."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from bedienung import Ansagen, Programm

PROGRAMM = None
WERKZEUG = None
UMGEBUNG = None
BILDER = None
ANSAGEN = None


def einrichten(umgebung, programm, werkzeug, bilder):
    global PROGRAMM, WERKZEUG, UMGEBUNG, BILDER, ANSAGEN
    PROGRAMM, WERKZEUG, UMGEBUNG, BILDER = programm, werkzeug, umgebung, bilder
    ANSAGEN = Ansagen()
    if bilder:
        os.makedirs(bilder, exist_ok=True)


class ProgrammTest(unittest.TestCase):
    """Each test gets a folder of its own for its files and settings."""

    def setUp(self):
        self.ordner = tempfile.mkdtemp(prefix="zw-test-")
        self.konfiguration = os.path.join(self.ordner, "konfiguration")
        os.mkdir(self.konfiguration)
        # A runtime folder of its own: the program's single-instance socket
        # lives there, so no test meets another test's program.
        self.laufzeit = os.path.join(self.ordner, "laufzeit")
        os.mkdir(self.laufzeit, 0o700)
        self.umgebung = dict(os.environ, XDG_CONFIG_HOME=self.konfiguration,
                             XDG_RUNTIME_DIR=self.laufzeit)
        self.protokoll = open(os.path.join(self.ordner, "programm.log"), "wb")
        self.ansagen = ANSAGEN
        # Cleanups run also when setUp fails, unlike tearDown.
        self.addCleanup(self._aufraeumen)

    def tearDown(self):
        # Still with the program on screen, so the picture shows the fault.
        if self._erfolgreich():
            return
        self.protokoll.flush()
        with open(self.protokoll.name, "rb") as f:
            ausgabe = f.read().decode(errors="replace").strip()
        if ausgabe:
            print(f"\nAusgabe des Programms:\n{ausgabe}")
        print("\nLetzte Ansagen:\n  " + "\n  ".join(ANSAGEN.zeilen[-15:]))
        self.bild("fehler")

    def _aufraeumen(self):
        self.protokoll.close()
        shutil.rmtree(self.ordner, ignore_errors=True)

    def _erfolgreich(self):
        ergebnis = self._outcome.result
        # A failed subtest is recorded under its own object.
        return not any(getattr(test, "test_case", test) is self
                       for test, _ in ergebnis.failures + ergebnis.errors)

    def starten(self, *argumente):
        p = Programm(PROGRAMM, self.umgebung, argumente, self.protokoll)
        self.addCleanup(p.abbrechen)
        return p

    def datei(self, name, inhalt):
        pfad = os.path.join(self.ordner, name)
        with open(pfad, "wb") as f:
            f.write(inhalt)
        return pfad

    def einstellungen(self):
        """The settings file as name → value."""
        pfad = os.path.join(self.konfiguration, "Zeichenwandler", "Zeichenwandler.ini")
        werte = {}
        if os.path.exists(pfad):
            with open(pfad, encoding="utf-8") as f:
                for zeile in f:
                    m = re.match(r"Zeichenwandler\\(\w+)=(.*)", zeile.strip())
                    if m:
                        werte[m.group(1)] = m.group(2)
        return werte

    def werkzeug(self, *argumente):
        return subprocess.run([WERKZEUG, *argumente], env=self.umgebung, capture_output=True,
                              text=True, timeout=30)

    def bild(self, name):
        if BILDER:
            UMGEBUNG.bildschirmfoto(os.path.join(BILDER, f"{self.id().split('.')[-1]}-{name}.png"))
