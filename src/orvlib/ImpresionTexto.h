#pragma once

#include "orvlib/ObjetoOrvlib.h"

// The host library's plain-text printing services; created with the others, never called.
class ImpresionTexto : public ObjetoOrvlib {};
