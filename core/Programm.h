#pragma once
// Product name and version: the windows' title, the name of the socket the
// running instance listens on, and what the command-line tool looks for.

namespace zw {

inline constexpr char ProgrammTitelText[] = "Zeichenwandler V1.22";

} // namespace zw
