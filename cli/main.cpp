#include "cli/Befehle.h"

#ifdef _WIN32
// Windows hands a program its arguments in the ANSI code page and turns "\n"
// into CR LF on the way out. The tool takes its arguments as UTF-8 from the
// wide command line and writes its bytes as they are, as everywhere else.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

std::vector<std::string> Argumente() {
    int anzahl = 0;
    wchar_t** breit = CommandLineToArgvW(GetCommandLineW(), &anzahl);
    std::vector<std::string> argumente;
    for (int i = 1; breit && i < anzahl; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, breit[i], -1, nullptr, 0, nullptr, nullptr);
        std::string a(std::size_t(n > 0 ? n : 1), '\0');
        WideCharToMultiByte(CP_UTF8, 0, breit[i], -1, a.data(), n, nullptr, nullptr);
        a.resize(a.size() - 1);
        argumente.push_back(std::move(a));
    }
    LocalFree(breit);
    return argumente;
}

} // namespace

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
    return zw::cli::Ausfuehren(Argumente());
}
#else
int main(int argc, char** argv) {
    return zw::cli::Ausfuehren(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
