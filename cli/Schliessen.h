#pragma once
// zeichenwandler-cli schliessen: asks the running program of this user to
// close, as its menu command Datei > Beenden does.

namespace zw::cli {

// Exit codes beyond those of every command.
enum SchliessenAusgang : int { KeinProgramm = 3, KeineAntwort = 4 };

int Schliessen();

} // namespace zw::cli
