#pragma once

// The program's entry: shared objects, configuration, main menu.
namespace Principal {

// Runs the program with the main menu; returns the process's exit code.
int Main();
// Releases the eight shared objects, in the order they were listed at creation.
void LiberaObjetos();
// Creates the eight shared objects by programmatic identifier; throws when one cannot be made.
void CreaObjetosCompartidos();

} // namespace Principal
