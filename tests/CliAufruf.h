#pragma once
// The command-line tool run as a real process, with its output and error
// output caught in files: by the shell on POSIX, without one on Windows.
#include "Hilfen.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace zwtest {

struct CliErgebnis {
    int status;
    std::string aus, fehler;
};

#ifdef _WIN32
// Windows: no shell in between. The tool starts with its standard handles on
// the two files and its arguments quoted the way the C runtime splits them.
inline std::wstring Breit(const std::string& s) {
    std::wstring w(s.size(), L'\0');
    w.resize(std::size_t(
        MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), int(w.size()))));
    return w;
}

inline std::wstring Argument(const std::wstring& a) {
    std::wstring z = L"\"";
    std::size_t schraege = 0;
    for (wchar_t c : a) {
        if (c == L'\\') {
            ++schraege;
            continue;
        }
        // Backslashes count only before a quote: doubled there, and the quote escaped.
        z.append(c == L'"' ? 2 * schraege + 1 : schraege, L'\\');
        schraege = 0;
        z += c;
    }
    z.append(2 * schraege, L'\\');
    return z + L"\"";
}

inline int Starten(const std::string& werkzeug, const std::vector<std::string>& argumente,
                   const std::filesystem::path& aus, const std::filesystem::path& fehler) {
    const std::wstring programm = std::filesystem::absolute(werkzeug).wstring();
    std::wstring zeile = Argument(programm);
    for (const auto& a : argumente)
        zeile += L" " + Argument(Breit(a));
    SECURITY_ATTRIBUTES erben{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    auto datei = [&](const std::wstring& pfad, DWORD zugriff, DWORD art) {
        return CreateFileW(pfad.c_str(), zugriff, FILE_SHARE_READ | FILE_SHARE_WRITE, &erben, art,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = datei(L"NUL", GENERIC_READ, OPEN_EXISTING);
    start.hStdOutput = datei(aus.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    start.hStdError = datei(fehler.wstring(), GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION prozess{};
    int status = -1;
    if (CreateProcessW(programm.c_str(), zeile.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                       &start, &prozess)) {
        WaitForSingleObject(prozess.hProcess, INFINITE);
        DWORD code = 0;
        if (GetExitCodeProcess(prozess.hProcess, &code))
            status = int(code);
        CloseHandle(prozess.hThread);
        CloseHandle(prozess.hProcess);
    }
    for (HANDLE h : {start.hStdInput, start.hStdOutput, start.hStdError})
        CloseHandle(h);
    return status;
}
#else
inline std::string Zitat(const std::string& s) {
    std::string z = "'";
    for (char c : s)
        z += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return z + "'";
}
#endif

// Runs the tool at `programm` with `argumente`; its output goes through
// files in `ordner`.
inline CliErgebnis CliAufruf(const std::string& programm, const std::filesystem::path& ordner,
                             const std::vector<std::string>& argumente) {
    const auto aus = ordner / "stdout", fehler = ordner / "stderr";
#ifdef _WIN32
    const int status = Starten(programm, argumente, aus, fehler);
    return {status, Lesen(aus), Lesen(fehler)};
#else
    std::string befehl = Zitat(programm);
    for (const auto& a : argumente)
        befehl += " " + Zitat(a);
    befehl += " >" + Zitat(aus.string()) + " 2>" + Zitat(fehler.string()) + " </dev/null";
    const int roh = std::system(befehl.c_str());
    return {WIFEXITED(roh) ? WEXITSTATUS(roh) : -1, Lesen(aus), Lesen(fehler)};
#endif
}

} // namespace zwtest
