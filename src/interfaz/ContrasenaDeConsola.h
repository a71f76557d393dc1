#pragma once

#include <QString>

// A password for a command-line tool, never from its command line (where the process list and
// the shell's history would show it): one line of standard input when that is not a terminal,
// else asked on the terminal without echo.
class ContrasenaDeConsola {
public:
    // False when standard input ended before a line (the password may be empty).
    static bool Lee(const QString& pregunta, QString& contrasena);
};
