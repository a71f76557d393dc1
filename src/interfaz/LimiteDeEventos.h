#pragma once

#include <functional>

// The boundary every event handler runs inside: a database or file error is shown in an
// "Alerta" box that says in Spanish what happened and what to do, with the server's number and
// text and the statement or file in the box's details; the pointer goes back to normal and the
// window stays usable. When the error says the connection is gone, alPerderLaConexion runs
// before the box. A refused request is shown as a warning with its text alone. Returns false
// when the handler failed or was refused.
bool Protegido(const std::function<void()>& manejador,
               const std::function<void()>& alPerderLaConexion = {});
