#pragma once
// The text the benchmarks work on: German prose (about 2 % umlauts and ß, as
// in ordinary text) with CR LF line ends, in UTF-16.

#include <cstddef>
#include <string>

namespace zwbench {

inline std::u16string DeutscherText(std::size_t einheiten) {
    const std::u16string zeile =
        u"Am Abend gingen die beiden Freunde noch einmal hinunter an den Fluss, wo das\r\n"
        u"Wasser ruhig unter der alten Brücke hindurchzog. Sie sprachen über die Reise,\r\n"
        u"die sie im nächsten Sommer machen wollten, und über die Bücher, die sie noch\r\n"
        u"lesen mussten. Später saßen sie auf der Mauer und sahen den Schiffen nach.\r\n";
    std::u16string text;
    text.reserve(einheiten + zeile.size());
    while (text.size() < einheiten)
        text += zeile;
    text.resize(einheiten - einheiten % zeile.size());
    return text;
}

} // namespace zwbench
