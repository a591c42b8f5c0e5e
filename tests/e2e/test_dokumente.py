"""Documents as users have them today, with the keyboard only: a Word file
opened, converted and saved beside itself as text (the Word file stays), a
UTF-8 file without a byte order mark, a text file cut by a NUL, and a PDF
opened by mistake."""

import os

from bedienung import tasten, text_von, textfeld, warte
from gemeinsam import ProgrammTest
from test_durchlauf import TITEL, datei_waehlen, tabelle_waehlen

DATEN = os.path.join(os.path.dirname(__file__), "..", "daten", "dokumente")
TABELLE = b"; Umlaute\r\n228 62 ae\r\n246 91 oe\r\n252 93 ue\r\n223 33 sz\r\n"


class Dokumente(ProgrammTest):

    def meldung_bestaetigen(self, p, erwartet):
        box, meldung = p.meldung()
        self.assertEqual(meldung, erwartet)
        return box

    def test_word_utf8_nul_und_pdf(self):
        tabelle = self.datei("umlaute.tab", TABELLE)
        with open(os.path.join(DATEN, "wordartig.docx"), "rb") as f:
            word = f.read()
        docx = self.datei("Einladung.docx", word)
        with open(os.path.join(DATEN, "wordartig.erwartet.txt"), encoding="utf-8") as f:
            erwartet = f.read()

        p = self.starten()
        haupt = p.warte_auf_fenster("frame", f"KeinName - {TITEL}")
        tabelle_waehlen(p, tabelle)

        # The Word file: its text, as the reader gives it.
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", docx)
        haupt = p.warte_auf_fenster("frame", f"Einladung.docx - {TITEL}")
        feld = textfeld(haupt)
        warte(lambda: text_von(feld) == erwartet.replace("\r\n", "\n"), "der Text des Dokuments")
        self.bild("word")

        # Converted and saved: "Speichern unter" offers Einladung.TXT beside it.
        tasten("ctrl+k")
        box = self.meldung_bestaetigen(p, "5 Zeichen wurden ersetzt")
        tasten("Return")
        p.warte_bis_zu(box)
        tasten("ctrl+s")
        dialog = p.warte_auf_fenster("dialog", "Speichern unter")
        p.warte_auf_fokus("text", "Dateiname:")
        warte(lambda: text_von(p.fokus()) == "Einladung.TXT", "der angebotene Name")
        self.bild("speichern-unter")
        tasten("Return")
        p.warte_bis_zu(dialog)
        # Characters that Windows-1252 lacks are asked about first.
        box, meldung = p.meldung()
        self.assertIn("Zeichen können im Textdokument nicht dargestellt werden", meldung)
        tasten("alt+j")
        p.warte_bis_zu(box)
        p.warte_auf_fenster("frame", f"Einladung.TXT - {TITEL}")
        with open(docx, "rb") as f:
            self.assertEqual(f.read(), word)
        warte(lambda: os.path.exists(os.path.join(self.ordner, "Einladung.TXT")), "Einladung.TXT")

        # UTF-8 without a mark is shown as it is meant.
        utf8 = self.datei("gruss.txt", "Schöne Grüße\n".encode("utf-8"))
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", utf8)
        haupt = p.warte_auf_fenster("frame", f"gruss.txt - {TITEL}")
        warte(lambda: text_von(textfeld(haupt)) == "Schöne Grüße\n", "Schöne Grüße")

        # A NUL in line 2: the open command says what was not read.
        nul = self.datei("mitnul.txt", b"Zeile 1\nZei\0le 2\nZeile 3\n")
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", nul)
        box = self.meldung_bestaetigen(
            p, "Der Text endet in Zeile 2 an einem NUL-Zeichen; die restlichen 14 Bytes der "
               "Datei wurden nicht gelesen.")
        self.bild("nul")
        tasten("Return")
        p.warte_bis_zu(box)

        # A PDF opened by mistake ends with the file error, naming what it is.
        pdf = self.datei("Rechnung.pdf", b"%PDF-1.4\n%\xe2\xe3\xcf\xd3\n")
        tasten("ctrl+o")
        datei_waehlen(p, "Öffnen", pdf)
        box, meldung = p.meldung()
        self.assertIn("Die Datei ist keine Textdatei, sondern ein PDF-Dokument.", meldung)
        self.bild("pdf")
        tasten("Return")
        p.warte_bis_zu(box)
        p.warte_auf_fenster("frame", f"mitnul.txt - {TITEL}")
        tasten("alt+F4")
        self.assertEqual(p.warte_auf_ende(), 0)
