#pragma once

// The program's entry: shared objects, configuration, main menu.
namespace Principal {

// Runs the program with the main menu; returns the process's exit code.
int Main();
// The start shared by the menu and the command-line jobs: the program folder made current, the
// shared objects, the ini file and the host's connection settings. False when the program
// cannot go on (the user has been told why).
bool Configura();
// The host's Orvane.ini: the host folder of the program's ini (the program folder when the key
// is empty, which is then written) followed by "Orvane.ini".
void CalculaIniHost();
// Releases the eight shared objects, in the order they were listed at creation.
void LiberaObjetos();
// Creates the eight shared objects by programmatic identifier; throws when one cannot be made.
void CreaObjetosCompartidos();
// Qt wants a private runtime folder for some of its parts; a scheduled run or a shell without a
// session (cron, su, runuser) has none, so one is named in the system's temporary folder,
// deremisiones-ACCOUNT-PID. Only Qt makes it, owner only, if a part of it needs it; it goes
// when the process ends. Called before the application object.
void AseguraCarpetaDeEjecucion();

} // namespace Principal
