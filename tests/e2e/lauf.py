#!/usr/bin/python3
"""Runs end-to-end test modules against the real program on a private desktop.

    lauf.py --programm PFAD --werkzeug PFAD [--bilder ORDNER] [--ansagen DATEI] MODUL[.KLASSE[.TEST]]...

--bilder keeps a screenshot of every step, --ansagen writes what a screen
reader would have announced, line by line.
"""

import argparse
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from umgebung import Umgebung  # noqa: E402


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--programm", required=True)
    args.add_argument("--werkzeug", required=True)
    args.add_argument("--bilder")
    args.add_argument("--ansagen")
    args.add_argument("module", nargs="+")
    a = args.parse_args()

    umgebung = Umgebung()
    try:
        # Only now: libatspi takes the private display and bus at its start.
        import gemeinsam
        gemeinsam.einrichten(umgebung, a.programm, a.werkzeug, a.bilder)
        lader = unittest.TestLoader()
        # A module, or one class or test in it: "test_durchlauf.EineInstanz".
        suite = unittest.TestSuite(lader.loadTestsFromName(m) for m in a.module)
        ergebnis = unittest.TextTestRunner(verbosity=2).run(suite)
        if a.ansagen:
            with open(a.ansagen, "w", encoding="utf-8") as datei:
                datei.write("\n".join(gemeinsam.ANSAGEN.zeilen) + "\n")
        return 0 if ergebnis.wasSuccessful() else 1
    finally:
        umgebung.beenden()


if __name__ == "__main__":
    sys.exit(main())
