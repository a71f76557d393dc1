#pragma once

#include <exception>
#include <functional>
#include <utility>

// Runs an action when the scope ends, however it ends: a step that must follow work that may
// fail (restoring buttons, removing a scratch file or working tables). A failing action is
// ignored, so it never hides the error that ended the scope.
class AlSalir {
public:
    explicit AlSalir(std::function<void()> accion)
        : accion_(std::move(accion)) {}
    ~AlSalir() {
        try {
            accion_();
        } catch (const std::exception&) {
            return;
        }
    }
    AlSalir(const AlSalir&) = delete;
    AlSalir& operator=(const AlSalir&) = delete;

private:
    std::function<void()> accion_;
};
