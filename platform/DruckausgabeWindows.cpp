// Windows: the port string is opened as it stands, a port such as "LPT1" or a
// printer share such as "\\server\printer", and written with one WriteFile.
#include "platform/Druckausgabe.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace zw {

namespace {

using Uhr = std::chrono::steady_clock;

std::wstring Breit(const std::string& text) {
    if (text.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring aus(std::size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), aus.data(), n);
    return aus;
}

std::string Schmal(const std::wstring& text) {
    if (text.empty())
        return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string aus(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), aus.data(), n, nullptr, nullptr);
    return aus;
}

std::string Systemfehler(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring w = text ? text : L"";
    if (text)
        LocalFree(text);
    while (!w.empty() && (w.back() == L'\r' || w.back() == L'\n'))
        w.pop_back();
    return Schmal(w);
}

DWORD RestMs(Uhr::time_point frist) {
    const auto rest = std::chrono::ceil<std::chrono::milliseconds>(frist - Uhr::now()).count();
    return DWORD(std::max<long long>(rest, 1));
}

class WindowsAnschluss : public DruckAnschluss {
public:
    explicit WindowsAnschluss(std::string port) : port_(std::move(port)) {}
    ~WindowsAnschluss() override { Zu(); }

    DruckErgebnis Oeffnen(Uhr::time_point frist) override {
        handle_ =
            CreateFileW(Breit(port_).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            const DruckFehler art = (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                                     code == ERROR_BAD_NETPATH)
                                        ? DruckFehler::NichtGefunden
                                        : DruckFehler::Verweigert;
            return DruckErgebnis{art, port_ + ": " + Systemfehler(code)};
        }
        // A file as the port gets each copy appended, as everywhere else; a
        // device has no end to move to.
        if (GetFileType(handle_) == FILE_TYPE_DISK) {
            LARGE_INTEGER null{};
            SetFilePointerEx(handle_, null, nullptr, FILE_END);
        }
        // A port that takes no time-outs (a file, a share) is written without
        // one; the result is therefore not examined.
        COMMTIMEOUTS zeiten{};
        zeiten.WriteTotalTimeoutConstant = RestMs(frist);
        SetCommTimeouts(handle_, &zeiten);
        return {};
    }

    DruckErgebnis Schreiben(std::string_view bytes, Uhr::time_point) override {
        DWORD geschrieben = 0;
        // Only success or failure counts: a write the time-out cut short but
        // that reports success is a written copy.
        if (!WriteFile(handle_, bytes.data(), DWORD(bytes.size()), &geschrieben, nullptr)) {
            const DWORD code = GetLastError();
            const DruckFehler art =
                code == ERROR_SEM_TIMEOUT ? DruckFehler::Zeitlimit : DruckFehler::Abgebrochen;
            return DruckErgebnis{art, port_ + ": " + Systemfehler(code)};
        }
        return {};
    }

    DruckErgebnis Schliessen(Uhr::time_point) override {
        Zu();
        return {};
    }

private:
    void Zu() {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

    std::string port_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

} // namespace

std::unique_ptr<DruckAnschluss> AnschlussFuer(const std::string& port) {
    return std::make_unique<WindowsAnschluss>(port);
}

// The shell's own network browser lists the printers here; this list stays
// empty, and a share is typed.
std::vector<DruckerEintrag> DruckerAuflisten(std::chrono::milliseconds) {
    return {};
}

std::optional<std::string> PortAufloesen(const std::string& eingabe, std::chrono::milliseconds) {
    std::wstring text = Breit(eingabe);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.pop_back();
    text.erase(0, text.find_first_not_of(L" \t"));
    if (text.empty())
        return std::nullopt;
    if (text.size() == 4 && _wcsnicmp(text.c_str(), L"LPT", 3) == 0 && text[3] >= L'1' &&
        text[3] <= L'4') {
        CharUpperW(text.data());
        return Schmal(text);
    }
    wchar_t voll[MAX_PATH + 1] = {};
    const DWORD n = GetFullPathNameW(text.c_str(), MAX_PATH + 1, voll, nullptr);
    if (n == 0 || n > MAX_PATH)
        return std::nullopt;
    std::wstring pfad = voll;
    if (pfad.size() > 3 && pfad.back() == L'\\')
        pfad.pop_back();
    // A printer share has no file attributes; it is found by opening it.
    if (GetFileAttributesW(pfad.c_str()) == INVALID_FILE_ATTRIBUTES) {
        HANDLE h = CreateFileW(pfad.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return std::nullopt;
        CloseHandle(h);
    }
    return Schmal(pfad);
}

} // namespace zw
