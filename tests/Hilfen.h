#pragma once
// Small helpers shared by the tests and benchmarks: a private temporary
// folder and byte-exact file access. The window tests name files by QString;
// with Qt at hand the same access takes those too.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#ifdef QT_CORE_LIB
#include "platform/Pfad.h"
#endif

// A test that needs a program from outside the project skips without it and
// names it. Where the whole suite is to run (ZW_NICHTS_AUSLASSEN=1, which
// scripts/testen.sh sets after installing everything), a missing program is a
// fault of the set-up and fails the test instead. Use inside a test body.
#define ZW_OHNE(grund)                                                                             \
    do {                                                                                           \
        const char* alles_ = std::getenv("ZW_NICHTS_AUSLASSEN");                                   \
        if (alles_ && std::string(alles_) == "1")                                                  \
            FAIL() << (grund) << " (ZW_NICHTS_AUSLASSEN=1: nichts darf ausgelassen werden)";       \
        GTEST_SKIP() << (grund);                                                                   \
    } while (false)

namespace zwtest {

class TempOrdner {
public:
    TempOrdner() {
        std::random_device zufall;
        pfad_ = std::filesystem::temp_directory_path() /
                ("zw-test-" + std::to_string(zufall()) + std::to_string(zufall()));
        std::filesystem::create_directories(pfad_);
    }
    ~TempOrdner() {
        std::error_code ec;
        // Read-only leftovers of a test must not stop the clean-up.
        for (auto& e : std::filesystem::recursive_directory_iterator(pfad_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(pfad_, ec);
    }
    std::filesystem::path operator/(const std::string& name) const { return pfad_ / name; }
    const std::filesystem::path& Pfad() const { return pfad_; }

private:
    std::filesystem::path pfad_;
};

// Replaces the file's content with these bytes; missing folders above it
// are made.
inline void Schreiben(const std::filesystem::path& p, const std::string& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(p.parent_path(), ec);
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f << bytes;
}

// The file's bytes; empty when it cannot be read.
inline std::string Lesen(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

#ifdef QT_CORE_LIB
inline void Schreiben(const QString& pfad, const std::string& bytes) {
    Schreiben(zw::AlsPfad(pfad), bytes);
}
inline std::string Lesen(const QString& pfad) {
    return Lesen(zw::AlsPfad(pfad));
}
#endif

} // namespace zwtest
