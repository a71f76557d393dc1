#pragma once

#include "orvlib/ObjetoOrvlib.h"

// Currency services of the host library: amounts in words for printed documents.
class DeMonedas : public ObjetoOrvlib {};
