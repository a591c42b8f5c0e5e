#pragma once
// The benchmarks' Word document: the German prose of DeutscherText, one
// paragraph per line, each with its number so the file packs like real text
// and not like one line repeated, in the markup LibreOffice writes.

#include "../tests/ZipBauen.h"
#include "DeutscherText.h"
#include "core/Kodierung.h"

#include <string>

namespace zwbench {

struct WordUndText {
    std::string docx;
    std::u16string text; // what the loader reads from it, CR LF after each paragraph
};

inline WordUndText WordDokument(std::size_t textEinheiten) {
    const std::u16string quelle = DeutscherText(textEinheiten);
    WordUndText w;
    std::string koerper;
    std::size_t nr = 0;
    for (std::size_t anfang = 0; anfang < quelle.size();) {
        std::size_t ende = quelle.find(u"\r\n", anfang);
        if (ende == std::u16string::npos)
            ende = quelle.size();
        const std::u16string zeile = u"Absatz " + zw::Utf8ZuUtf16(std::to_string(++nr)) + u": " +
                                     quelle.substr(anfang, ende - anfang);
        koerper += "<w:p><w:pPr><w:pStyle w:val=\"Normal\"/><w:rPr></w:rPr></w:pPr><w:r><w:rPr>"
                   "</w:rPr><w:t xml:space=\"preserve\">" +
                   zw::Utf16ZuUtf8(zeile) + "</w:t></w:r></w:p>";
        w.text += zeile + u"\r\n";
        anfang = ende + 2;
    }
    std::vector<zwtest::ZipEintrag> e = zwtest::WordGeruest();
    e.push_back(zwtest::Aufgeblasen("word/document.xml", zwtest::kWordKopf + koerper, "", 0,
                                    zwtest::kWordFuss));
    w.docx = zwtest::ZipBauen(e);
    return w;
}

} // namespace zwbench
