#pragma once

#include "orvlib/ObjetoOrvlib.h"

// The host library's workstation services; the program creates it with the others but calls
// none of its members.
class DeEquipo : public ObjetoOrvlib {};
