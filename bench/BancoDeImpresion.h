#pragma once

// 200 notes printed as the user runs them: a PDF per note (--pdf) and one PDF for the run
// (--pdf-unico), three runs each, each beside its floor.
int impresion();
