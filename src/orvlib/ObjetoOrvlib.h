#pragma once

// Base of every class the support library creates by programmatic identifier.
class ObjetoOrvlib {
public:
    virtual ~ObjetoOrvlib() = default;
};
