#pragma once
// The line rule of every reader and writer: CR LF, a single CR and a single
// LF each end a line; each line end is written as CR LF, and a last line
// without one gets it too. Fed one unit at a time, so it holds across pieces
// and around the block copies of the fast paths alike.

namespace zw {

template <typename T> constexpr bool IstZeilenzeichen(T c) {
    return c == T('\r') || c == T('\n');
}

class ZeilenRegel {
public:
    // Whether `c` ends a line: a CR always, an LF unless it is the second
    // half of a CR LF.
    template <typename T> bool Endet(T c) {
        if (c == T('\r')) {
            zustand_ = NachCr;
            return true;
        }
        if (c == T('\n')) {
            const bool endet = zustand_ != NachCr;
            zustand_ = Zeilenende;
            return endet;
        }
        zustand_ = InZeile;
        return false;
    }

    // Hands `c` to `aus` as the rule writes it: a line end as CR LF, the LF
    // of a CR LF as nothing, any other unit as itself.
    template <typename T, typename Aus> void Einheit(T c, Aus&& aus) {
        if (Endet(c)) {
            aus(T('\r'));
            aus(T('\n'));
        } else if (zustand_ == InZeile) {
            aus(c);
        }
    }

    // After units the caller wrote itself, none of them CR or LF.
    void Zeichen() { zustand_ = InZeile; }

    // At the end of the text: the CR LF of a last line that has none.
    template <typename T, typename Aus> void Ende(Aus&& aus) {
        if (zustand_ == InZeile) {
            aus(T('\r'));
            aus(T('\n'));
            zustand_ = Zeilenende;
        }
    }

private:
    // One byte of state, so the plain characters of the hot loops cost a
    // single store: a line has begun and not ended, the last unit was a CR,
    // or a line has just ended (or nothing has come yet).
    enum Zustand : unsigned char { Zeilenende, InZeile, NachCr };
    Zustand zustand_ = Zeilenende;
};

} // namespace zw
