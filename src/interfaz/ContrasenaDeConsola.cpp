#include "interfaz/ContrasenaDeConsola.h"

#include <QTextStream>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Echo off on the terminal while the object lives.
class SinEco {
public:
    SinEco() {
#ifdef Q_OS_UNIX
        terminal_ = ::isatty(STDIN_FILENO) != 0 && ::tcgetattr(STDIN_FILENO, &antes_) == 0;
        if (terminal_) {
            termios sinEco = antes_;
            sinEco.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &sinEco);
        }
#endif
    }
    ~SinEco() {
#ifdef Q_OS_UNIX
        if (terminal_) {
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes_);
            std::fputc('\n', stderr);
        }
#endif
    }
    SinEco(const SinEco&) = delete;
    SinEco& operator=(const SinEco&) = delete;

    bool esTerminal() const {
        return terminal_;
    }

private:
    bool terminal_ = false;
#ifdef Q_OS_UNIX
    termios antes_{};
#endif
};

} // namespace

bool ContrasenaDeConsola::Lee(const QString& pregunta, QString& contrasena) {
    SinEco sinEco;
    if (sinEco.esTerminal()) {
        std::fprintf(stderr, "%s", pregunta.toUtf8().constData());
        std::fflush(stderr);
    }
    // An empty line is an empty password; no line at all (end of input) is none.
    QTextStream entrada(stdin);
    const QString linea = entrada.readLine();
    if (linea.isNull()) {
        return false;
    }
    contrasena = linea.endsWith(QLatin1Char('\r')) ? linea.chopped(1) : linea;
    return true;
}
