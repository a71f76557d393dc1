#pragma once

#include <functional>
#include <utility>

// Runs an action when the scope ends, however it ends: a step that must follow work that may
// fail (restoring buttons, removing a scratch file).
class AlSalir {
public:
    explicit AlSalir(std::function<void()> accion)
        : accion_(std::move(accion)) {}
    ~AlSalir() { accion_(); }
    AlSalir(const AlSalir&) = delete;
    AlSalir& operator=(const AlSalir&) = delete;

private:
    std::function<void()> accion_;
};
