#pragma once
// What both document fuzz targets share: the reader on a container, with
// small limits so every run stays short, and a clear reason as the expected
// end of bad input.
#include "core/dokumente/Dokumente.h"

#include <string>

namespace zwtest {

inline void DokumentFuzzen(const std::string& behaelter) {
    zw::dok::Grenzen grenzen;
    grenzen.EntpacktGesamt = 4 << 20;
    grenzen.VerhaeltnisAb = 1 << 20;
    grenzen.Elemente = 100000;
    try {
        zw::dok::DokumentLesen(behaelter, grenzen);
    } catch (const zw::dok::DokumentFehler&) {
    }
}

} // namespace zwtest
