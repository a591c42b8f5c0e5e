#pragma once
// The text as it goes to a Braille embosser: one byte per character, every
// copy ending with a form feed.

#include <string>
#include <string_view>

namespace zw {

// Ends a copy; embossers start the next page or job with it.
inline constexpr char16_t Seitenvorschub = 12;

// The text without the characters of code 32 or less at its end (spaces,
// tabs, line ends, form feeds, other control characters). Leading blank lines
// and spaces stay.
std::u16string_view RechtsGetrimmt(std::u16string_view text);

// A trimmed text with the closing form feed: what one copy contains.
std::u16string DruckTextBilden(std::u16string_view getrimmt);

// The byte a character is sent as. A code below 256 is sent as that byte, so
// the codes a table produces reach the embosser unchanged; any other
// character as its Windows-1252 byte where it has one (the typographic quotes,
// dashes and the euro sign of ordinary texts), else "?".
unsigned char DruckByte(char16_t zeichen);

// The whole print text as bytes, exactly one per 16-bit character, so a
// character outside the basic plane (two 16-bit halves) becomes "??".
std::string DruckBytes(std::u16string_view druckText);

} // namespace zw
