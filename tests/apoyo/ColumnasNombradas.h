#pragma once

class BaseDePrueba;

// Drops from the host tables of the test database every column the program is not entitled to
// rely on: a store whose tables hold only the columns named for each table.
void DejaSoloLasColumnasNombradas(BaseDePrueba& base);
