#include "cli/Werkzeug.h"

#include "cli/Befehle.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <vector>

namespace zw::cli {

namespace fs = std::filesystem;

void Schreiben(std::FILE* ziel, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), ziel);
}

int FalscherAufruf(const std::string& grund) {
    Schreiben(stderr, "zeichenwandler-cli: " + grund + " Hilfe: zeichenwandler-cli --help\n");
    return Bedienfehler;
}

std::optional<TTextFileType> TypAusName(std::string_view name) {
    if (name == "text")
        return tfText;
    if (name == "unicode")
        return tfUnicode;
    if (name == "utf8")
        return tfUtf8;
    if (name == "rtf")
        return tfRtf;
    return std::nullopt;
}

fs::path Pfad(const std::string& argument) {
    return fs::path(std::u8string(argument.begin(), argument.end()));
}

fs::path ProgrammOrdner() {
    std::error_code fehler;
#ifdef _WIN32
    std::vector<wchar_t> puffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, puffer.data(), DWORD(puffer.size()));
        if (n == 0)
            break;
        if (n < puffer.size())
            return fs::path(std::wstring(puffer.data(), n)).parent_path();
        puffer.resize(puffer.size() * 2);
    }
#else
    // The launcher in bin/ is a link to the program folder's executable.
    const fs::path selbst = fs::read_symlink("/proc/self/exe", fehler);
    if (!fehler)
        return selbst.parent_path();
#endif
    return fs::current_path(fehler);
}

} // namespace zw::cli
