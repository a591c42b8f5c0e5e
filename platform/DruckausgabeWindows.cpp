// Windows: the port string is opened as it stands, a port such as "LPT1" or a
// printer share such as "\\server\printer", and written in pieces with
// overlapped WriteFile calls.
#include "platform/Druckausgabe.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace zw {

namespace {

using Stand = DruckAnschluss::Stand;

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

// A write waits at most this long for the port, so the caller's loop runs
// between the pieces and sees progress; a port that took nothing for the
// whole stall limit has stalled.
constexpr DWORD kStueckZeitMs = 200;
constexpr DWORD kStueck = 4096;

class WindowsAnschluss : public DruckAnschluss {
public:
    explicit WindowsAnschluss(std::string port) : port_(std::move(port)) {}
    ~WindowsAnschluss() override { Zu(); }

    Stand Weiter(std::string_view bytes) override {
        if (handle_ == INVALID_HANDLE_VALUE && !Oeffnen())
            return Stand::Fehler;
        if (unterwegs_) {
            DWORD n = 0;
            if (!GetOverlappedResult(handle_, &ov_, &n, FALSE)) {
                const DWORD code = GetLastError();
                if (code == ERROR_IO_INCOMPLETE)
                    return Stand::Laeuft;
                unterwegs_ = false;
                // A time-out per piece is no fault; what it took counts.
                if (code != ERROR_SEM_TIMEOUT)
                    return Fehler(DruckFehler::Abgebrochen, code);
            }
            unterwegs_ = false;
            // Only what the port reports as taken counts: a piece the
            // time-out cut short is written on from where it stopped.
            geschrieben_ += n;
        }
        if (geschrieben_ >= bytes.size()) {
            Zu();
            return Stand::Fertig;
        }
        const DWORD n = DWORD(std::min<std::size_t>(kStueck, bytes.size() - geschrieben_));
        ResetEvent(ov_.hEvent);
        if (datei_) {
            // The end of the file, as for a file opened to append.
            ov_.Offset = 0xFFFFFFFF;
            ov_.OffsetHigh = 0xFFFFFFFF;
        } else {
            ov_.Offset = ov_.OffsetHigh = 0;
        }
        if (!WriteFile(handle_, bytes.data() + geschrieben_, n, nullptr, &ov_)) {
            const DWORD code = GetLastError();
            if (code != ERROR_IO_PENDING && code != ERROR_SEM_TIMEOUT)
                return Fehler(DruckFehler::Abgebrochen, code);
        }
        unterwegs_ = true;
        return Stand::Laeuft;
    }

    DruckWarten Warten() const override {
        if (!unterwegs_)
            return DruckWarten{DruckWarten::Art::Nichts, -1, std::chrono::milliseconds(0)};
        return DruckWarten{DruckWarten::Art::Ereignis, reinterpret_cast<std::intptr_t>(ov_.hEvent),
                           std::chrono::milliseconds(kStueckZeitMs)};
    }
    std::size_t Angenommen() const override { return geschrieben_; }
    DruckErgebnis Ergebnis() const override { return ergebnis_; }
    void Verwerfen() override { Zu(); }

private:
    bool Oeffnen() {
        handle_ = CreateFileW(Breit(port_).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            const DruckFehler art = (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                                     code == ERROR_BAD_NETPATH)
                                        ? DruckFehler::NichtGefunden
                                        : DruckFehler::Verweigert;
            ergebnis_ = DruckErgebnis{art, port_ + ": " + Systemfehler(code)};
            return false;
        }
        // A file as the port gets each copy appended, as everywhere else; a
        // device has no end to move to.
        datei_ = GetFileType(handle_) == FILE_TYPE_DISK;
        // A port that takes time-outs ends each piece after a short wait
        // with what it took; others (a file, a share) ignore this.
        COMMTIMEOUTS zeiten{};
        zeiten.WriteTotalTimeoutConstant = kStueckZeitMs;
        SetCommTimeouts(handle_, &zeiten);
        ov_ = OVERLAPPED{};
        ov_.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        return true;
    }

    Stand Fehler(DruckFehler art, DWORD code) {
        ergebnis_ = DruckErgebnis{art, port_ + ": " + Systemfehler(code)};
        Zu();
        return Stand::Fehler;
    }

    void Zu() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            if (unterwegs_) {
                CancelIoEx(handle_, &ov_);
                DWORD n = 0;
                GetOverlappedResult(handle_, &ov_, &n, TRUE);
                unterwegs_ = false;
            }
            CloseHandle(handle_);
        }
        handle_ = INVALID_HANDLE_VALUE;
        if (ov_.hEvent)
            CloseHandle(ov_.hEvent);
        ov_.hEvent = nullptr;
    }

    std::string port_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    OVERLAPPED ov_{};
    bool datei_ = false;
    bool unterwegs_ = false;
    std::size_t geschrieben_ = 0;
    DruckErgebnis ergebnis_;
};

} // namespace

std::unique_ptr<DruckAnschluss> AnschlussFuer(const std::string& port, std::chrono::milliseconds) {
    return std::make_unique<WindowsAnschluss>(port);
}

void DruckWartenBlockierend(const DruckWarten& warten) {
    const DWORD ms = DWORD(std::min<long long>(warten.Hoechstens.count(), 24LL * 3600 * 1000));
    if (warten.Worauf == DruckWarten::Art::Ereignis && warten.Griff != -1)
        WaitForSingleObject(reinterpret_cast<HANDLE>(warten.Griff), ms);
    else if (ms > 0)
        Sleep(ms);
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
