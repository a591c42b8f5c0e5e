#include "core/Drucktext.h"

#include "core/Kodierung.h"

namespace zw {

std::u16string_view RechtsGetrimmt(std::u16string_view text) {
    std::size_t ende = text.size();
    while (ende > 0 && text[ende - 1] <= u' ')
        --ende;
    return text.substr(0, ende);
}

std::u16string DruckTextBilden(std::u16string_view getrimmt) {
    std::u16string druck;
    druck.reserve(getrimmt.size() + 1);
    druck.append(getrimmt);
    druck.push_back(Seitenvorschub);
    return druck;
}

unsigned char DruckByte(char16_t zeichen) {
    if (zeichen < 256)
        return static_cast<unsigned char>(zeichen);
    const int byte = Cp1252Byte(zeichen);
    return byte < 0 ? static_cast<unsigned char>('?') : static_cast<unsigned char>(byte);
}

std::string DruckBytes(std::u16string_view druckText) {
    std::string bytes(druckText.size(), '\0');
    for (std::size_t i = 0; i < druckText.size(); ++i)
        bytes[i] = static_cast<char>(DruckByte(druckText[i]));
    return bytes;
}

} // namespace zw
