#pragma once

#include <functional>

// The boundary every event handler runs inside: an error raised by the handler is shown in an
// "Alerta" box with its number, text and the statement or file involved, the pointer goes back
// to normal and the window stays usable; a refused request is shown as a warning with its text
// alone. Returns false when the handler failed or was refused.
bool Protegido(const std::function<void()>& manejador);
