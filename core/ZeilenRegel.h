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
        const bool cr = c == T('\r');
        const bool endet = cr || (c == T('\n') && !nachCr_);
        nachCr_ = cr;
        offen_ = !IstZeilenzeichen(c);
        return endet;
    }

    // Hands `c` to `aus` as the rule writes it: a line end as CR LF, the LF
    // of a CR LF as nothing, any other unit as itself.
    template <typename T, typename Aus> void Einheit(T c, Aus&& aus) {
        if (Endet(c)) {
            aus(T('\r'));
            aus(T('\n'));
        } else if (offen_) {
            aus(c);
        }
    }

    // After units the caller wrote itself, none of them CR or LF.
    void Zeichen() {
        nachCr_ = false;
        offen_ = true;
    }

    // At the end of the text: the CR LF of a last line that has none.
    template <typename T, typename Aus> void Ende(Aus&& aus) {
        if (offen_) {
            aus(T('\r'));
            aus(T('\n'));
            offen_ = false;
        }
    }

private:
    bool nachCr_ = false;
    bool offen_ = false; // a line has begun and not ended
};

} // namespace zw
