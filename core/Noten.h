#pragma once
// Where the notes of a document go: after its text, the footnotes first,
// then the endnotes, each kind after an empty line, each note in the order
// of its anchor. The RTF and the OpenDocument reader keep their notes in
// their own form; anything with a `bool endnote` will do.

namespace zw {

template <typename Notizen, typename Leerzeile, typename Note>
void NotenNachDemText(const Notizen& notizen, Leerzeile&& leerzeile, Note&& note) {
    for (bool endnoten : {false, true}) {
        bool erste = true;
        for (const auto& notiz : notizen) {
            if (notiz.endnote != endnoten)
                continue;
            if (erste)
                leerzeile();
            erste = false;
            note(notiz);
        }
    }
}

} // namespace zw
