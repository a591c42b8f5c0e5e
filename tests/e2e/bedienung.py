"""Driving the real program as a user does and reading it as a screen reader does.

Keys go to the program through xdotool, that is through the X server, as from
a keyboard. What the program shows is read through AT-SPI, the interface
screen readers such as Orca use: windows, controls, their names, roles,
states and texts, and the events a screen reader turns into speech.
"""

import os
import subprocess
import time

import pyatspi
from gi.repository import Atspi, GLib

FRIST = float(os.environ.get("ZW_E2E_FRIST", "20"))

# Roles as a German screen reader speaks them, for the transcript.
ROLLEN = {
    "frame": "Fenster",
    "dialog": "Dialog",
    "alert": "Meldung",
    "push button": "Schalter",
    "text": "Eingabefeld",
    "label": "Beschriftung",
    "menu item": "Menüeintrag",
    "menu": "Menü",
    "popup menu": "Menü",
    "menu bar": "Menüleiste",
    "list": "Liste",
    "list item": "Listeneintrag",
    "check box": "Kontrollkästchen",
    "radio button": "Optionsfeld",
    "combo box": "Auswahlfeld",
    "status bar": "Statuszeile",
    "table cell": "Zelle",
    "tree": "Baum",
    "panel": "Gruppe",
}

# Containers that pass the focus on to what they hold.
BEHAELTER = {"filler", "panel", "frame", "dialog", "alert", "menu bar", "popup menu",
             "application", "split pane", "layered pane", "scroll pane", "viewport"}

_kontext = GLib.MainContext.default()


def pumpen(sekunden=0.0):
    """Lets the accessibility events that arrived reach their listeners."""
    ende = time.monotonic() + sekunden
    while True:
        while _kontext.iteration(False):
            pass
        if time.monotonic() >= ende:
            return
        time.sleep(0.02)


def warte(bedingung, was, frist=FRIST):
    """Polls until `bedingung` gives something true and returns it."""
    ende = time.monotonic() + frist
    letzter = None
    while True:
        pumpen()
        try:
            ergebnis = bedingung()
            if ergebnis:
                return ergebnis
        except GLib.Error as fehler:
            # An object went away while it was read; ask again.
            letzter = fehler
        if time.monotonic() > ende:
            zusatz = f" (zuletzt: {letzter})" if letzter else ""
            if callable(was):
                was = was()
            raise AssertionError(f"Nach {frist:.0f} s nicht eingetreten: {was}{zusatz}")
        time.sleep(0.05)


def tasten(*folge):
    """Presses keys in xdotool's names, one after the other."""
    subprocess.run(["xdotool", "key", "--delay", "40", *folge], check=True)


def tippen(text):
    subprocess.run(["xdotool", "type", "--delay", "15", text], check=True)


# Reading the accessibility tree.

# Role names newer AT-SPI versions (Debian 13) give under another name.
NEUE_ROLLENNAMEN = {"button": "push button"}


def rolle(obj):
    name = obj.getRoleName()
    return NEUE_ROLLENNAMEN.get(name, name)


def hat(obj, zustand):
    return obj.getState().contains(zustand)


def kinder(obj):
    for i in range(obj.childCount):
        try:
            kind = obj.getChildAtIndex(i)
        except GLib.Error:
            continue
        if kind is not None:
            yield kind


def alle(wurzel, bedingung=lambda o: True):
    """Every object below `wurzel` (itself included) that fulfils `bedingung`."""
    treffer = []
    stapel = [wurzel]
    while stapel:
        obj = stapel.pop()
        try:
            if bedingung(obj):
                treffer.append(obj)
            stapel.extend(reversed(list(kinder(obj))))
        except GLib.Error:
            continue
    return treffer


def finde(wurzel, rolle_=None, name=None, bedingung=None):
    def passt(o):
        return ((rolle_ is None or rolle(o) == rolle_) and (name is None or o.name == name)
                and (bedingung is None or bedingung(o)))
    treffer = alle(wurzel, passt)
    return treffer[0] if treffer else None


def text_von(obj):
    t = obj.queryText()
    return t.getText(0, t.characterCount)


def beschriftet_von(obj):
    """The names of the labels a control is tied to."""
    namen = []
    for beziehung in obj.getRelationSet():
        if beziehung.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            namen += [beziehung.getTarget(i).name for i in range(beziehung.getNTargets())]
    return namen


def in_auswahlfeld(obj, fenster):
    """Whether a control lies inside a combo box of the window."""
    o = obj.parent
    while o is not None and o != fenster:
        if rolle(o) == "combo box":
            return True
        o = o.parent
    return False


def gesprochener_name(obj):
    """What a screen reader says for a control: its name, else its label."""
    if obj.name:
        return obj.name
    return " ".join(n for n in beschriftet_von(obj) if n)


def bedienbar(obj):
    """A control the user can reach now: shown, enabled and focusable."""
    z = obj.getState()
    return (z.contains(pyatspi.STATE_FOCUSABLE) and z.contains(pyatspi.STATE_SHOWING)
            and z.contains(pyatspi.STATE_SENSITIVE) and rolle(obj) not in BEHAELTER)


def ausmasse(obj):
    """Position and size on the screen: (x, y, breite, hoehe)."""
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return e.x, e.y, e.width, e.height


def farben(x, y, breite, hoehe):
    """How many pixels of a screen rectangle have each colour ("#RRGGBB")."""
    r = subprocess.run(["import", "-window", "root", "-crop", f"{breite}x{hoehe}+{x}+{y}",
                        "+repage", "-depth", "8", "-format", "%c", "histogram:info:-"],
                       capture_output=True, text=True, check=True)
    anzahl = {}
    for zeile in r.stdout.splitlines():
        teile = zeile.split()
        kennung = next((t for t in teile if t.startswith("#")), None)
        if len(teile) >= 3 and teile[0].endswith(":") and kennung:
            anzahl[kennung[:7].upper()] = int(teile[0][:-1])
    return anzahl


def haeufigste_farbe(x, y, breite, hoehe):
    """The colour most pixels of a screen rectangle have, as "#RRGGBB"."""
    anzahl = farben(x, y, breite, hoehe)
    return max(anzahl, key=anzahl.get) if anzahl else None


def textfeld(fenster):
    """The main window's text area."""
    return alle(fenster, lambda o: rolle(o) == "text" and o.name == "Text")[0]


class Ansagen:
    """Records what a screen reader would announce: windows that become active,
    the control that gets the focus, and changes of the status bar's hint."""

    def __init__(self):
        self.zeilen = []
        for art in ("window:activate", "object:state-changed:focused",
                    "object:property-change:accessible-name"):
            pyatspi.Registry.registerEventListener(self._ereignis, art)

    def _ereignis(self, e):
        try:
            quelle = e.source
            r, name = rolle(quelle), quelle.name
            if e.type == "window:activate":
                zeile = f"{ROLLEN.get(r, r)} „{name}“"
                if r == "alert":
                    texte = [o.name for o in alle(quelle, lambda o: rolle(o) == "label") if o.name]
                    zeile += ": " + " ".join(texte)
            elif e.type.startswith("object:state-changed:focused"):
                if not e.detail1 or r in BEHAELTER:
                    return
                zeile = f"{ROLLEN.get(r, r)} „{gesprochener_name(quelle)}“"
            else:
                eltern = quelle.parent
                if r != "label" or eltern is None or rolle(eltern) != "status bar":
                    return
                zeile = f"Statuszeile: {name}"
        except GLib.Error:
            return
        self.zeilen.append(zeile)

    def marke(self):
        pumpen()
        return len(self.zeilen)

    def seit(self, marke):
        pumpen()
        return self.zeilen[marke:]

    def warte_auf(self, marke, teil, was=None):
        return warte(lambda: any(teil in z for z in self.seit(marke)),
                     was or f"Ansage mit „{teil}“; bisher: {self.seit(marke)}")


class Programm:
    """One running program, found in the accessibility tree by its process."""

    def __init__(self, pfad, umgebung, argumente=(), protokoll=None):
        self.prozess = subprocess.Popen([pfad, *argumente], env=umgebung,
                                        stdout=protokoll or subprocess.DEVNULL,
                                        stderr=protokoll or subprocess.DEVNULL)
        self.app = warte(self._app_finden, f"{pfad} erscheint im Zugriffsbaum")

    def _app_finden(self):
        if self.prozess.poll() is not None:
            raise AssertionError(f"Das Programm endete beim Start ({self.prozess.returncode})")
        desktop = pyatspi.Registry.getDesktop(0)
        for app in kinder(desktop):
            try:
                if app.get_process_id() == self.prozess.pid and app.childCount > 0:
                    # Read afresh every time: the program does not announce
                    # every change of a window's state, so a cache goes stale.
                    app.set_cache_mask(Atspi.Cache.NONE)
                    return app
            except GLib.Error:
                continue
        return None

    def fenster(self):
        """The program's top-level windows on screen; a dialog the program
        keeps for later stays in the tree while hidden."""
        self.app.clear_cache()
        return [f for f in kinder(self.app) if rolle(f) in ("frame", "dialog", "alert")
                and hat(f, pyatspi.STATE_SHOWING)]

    def warte_auf_fenster(self, rolle_=None, name=None, aktiv=True):
        """Waits for a window, by default until it is the active one, so that
        keys pressed next reach it."""
        def gefunden():
            for f in self.fenster():
                if ((rolle_ is None or rolle(f) == rolle_) and (name is None or f.name == name)
                        and (not aktiv or hat(f, pyatspi.STATE_ACTIVE))):
                    return f
            return None
        return warte(gefunden, lambda: f"Fenster {rolle_ or ''} „{name}“"
                     + (" aktiv" if aktiv else "") + f"; offen: {self._fensterliste()}")

    def _fensterliste(self):
        liste = [(rolle(f), f.name, "aktiv" if hat(f, pyatspi.STATE_ACTIVE) else "")
                 for f in self.fenster()]
        x = subprocess.run(["xdotool", "getactivewindow", "getwindowname"], capture_output=True,
                           text=True).stdout.strip()
        return f"{liste}, für X aktiv: „{x}“"

    def warte_bis_zu(self, fenster, frist=FRIST):
        """Waits until a window has closed and, while the program still shows
        a window, until one is active again: keys pressed before that reach
        nothing, which a busy machine makes likely."""
        warte(lambda: fenster not in self.fenster(), f"„{fenster.name}“ geht zu", frist)

        def wieder_aktiv():
            offen = self.fenster()
            return not offen or any(hat(f, pyatspi.STATE_ACTIVE) for f in offen)
        warte(wieder_aktiv, lambda: f"ein Fenster wird wieder aktiv; offen: {self._fensterliste()}",
              frist)

    def hauptfenster(self):
        return self.warte_auf_fenster("frame", aktiv=False)

    def fokus(self):
        """The control that has the keyboard focus: in an open popup menu,
        else in the active window."""
        self.app.clear_cache()
        oben = [f for f in kinder(self.app) if hat(f, pyatspi.STATE_SHOWING)]
        popups = [f for f in oben if rolle(f) in ("popup menu", "menu", "window")]
        aktive = [f for f in oben if hat(f, pyatspi.STATE_ACTIVE)]
        for f in popups + aktive:
            # Qt 6.8 also marks the current entry of every closed combo box
            # as focused; in a window, only a control outside them holds it.
            treffer = alle(f, lambda o: hat(o, pyatspi.STATE_FOCUSED)
                           and rolle(o) not in BEHAELTER
                           and (f in popups or not in_auswahlfeld(o, f)))
            if treffer:
                return treffer[-1]
        return None

    def warte_auf_fokus(self, rolle_, name, frist=FRIST):
        def stimmt():
            f = self.fokus()
            return f is not None and rolle(f) == rolle_ and gesprochener_name(f) == name
        warte(stimmt, f"Fokus auf {rolle_} „{name}“", frist)
        return self.fokus()

    def offenes_menue(self):
        self.app.clear_cache()
        for f in kinder(self.app):
            if rolle(f) in ("popup menu", "menu") and hat(f, pyatspi.STATE_SHOWING):
                return f
        return None

    def menue_oeffnen(self, taste, eintrag):
        """Opens a menu by its access key and waits for the focus on its first
        item. Right after a dialog has closed, a busy machine can hand the
        keyboard back to the window later than the window says it is active,
        and the key reaches nothing; it is pressed again, but only while no
        menu is open, so a slow menu is never closed by it."""
        for _ in range(3):
            tasten(taste)
            try:
                return self.warte_auf_fokus("menu item", eintrag, frist=5)
            except AssertionError:
                if self.offenes_menue() is not None:
                    break
        return self.warte_auf_fokus("menu item", eintrag)

    def meldung(self):
        """Waits for a message box and returns it with its text."""
        box = self.warte_auf_fenster("alert")
        texte = [o.name for o in alle(box, lambda o: rolle(o) == "label") if o.name]
        return box, " ".join(texte)

    def laeuft(self):
        return self.prozess.poll() is None

    def warte_auf_ende(self, frist=FRIST):
        try:
            return self.prozess.wait(frist)
        except subprocess.TimeoutExpired:
            raise AssertionError(f"Das Programm endete nicht binnen {frist:.0f} s")

    def abbrechen(self):
        if self.laeuft():
            self.prozess.kill()
            self.prozess.wait()
