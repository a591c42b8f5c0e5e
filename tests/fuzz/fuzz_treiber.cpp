// Runs a fuzz target without libFuzzer: every file of the seed corpus, then
// random inputs and mutations of the seeds from a fixed seed, so a failure
// can be repeated.

#include "../Hilfen.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse);

namespace {
void Pruefen(const std::string& eingabe) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(eingabe.data()), eingabe.size());
}
} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> saat;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        for (const auto& eintrag : std::filesystem::recursive_directory_iterator(argv[i], ec)) {
            if (!eintrag.is_regular_file())
                continue;
            saat.push_back(zwtest::Lesen(eintrag.path()));
        }
    }
    for (const auto& s : saat)
        Pruefen(s);

    std::mt19937 zufall(20261210);
    const std::string alphabet =
        "{}\\rtf1ansi'u-0123456789 \r\n\t;$xX+abcdefpar\xEF\xBB\xBF\xFF\xFE";
    for (int runde = 0; runde < 20000; ++runde) {
        std::string s;
        if (!saat.empty() && runde % 2 == 0) {
            s = saat[zufall() % saat.size()];
            const int schritte = 1 + int(zufall() % 8);
            for (int k = 0; k < schritte && !s.empty(); ++k) {
                const std::size_t pos = zufall() % s.size();
                switch (zufall() % 3) {
                case 0:
                    s[pos] = char(zufall());
                    break;
                case 1:
                    s.erase(pos, 1 + zufall() % 16);
                    break;
                default:
                    s.insert(pos, 1, alphabet[zufall() % alphabet.size()]);
                }
            }
        } else {
            const std::size_t laenge = zufall() % 256;
            for (std::size_t k = 0; k < laenge; ++k)
                s.push_back(zufall() % 4 == 0 ? char(zufall())
                                              : alphabet[zufall() % alphabet.size()]);
        }
        Pruefen(s);
    }
    std::printf("%zu Saat-Eingaben und 20000 erzeugte Eingaben geprüft\n", saat.size());
    return 0;
}
