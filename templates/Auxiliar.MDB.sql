-- The auxiliary print database: one fresh copy per printed document, filled by the print
-- routines and read by the report template. Built into an SQLite file and stored in
-- reportesbin as Auxiliar.MDB by tools/plantillas.

CREATE TABLE Generales (
    Empresa TEXT, Domicilio TEXT, CP TEXT, CiudadEstado TEXT, Telefonos TEXT, RFC TEXT,
    ParaLasFechas TEXT, clave TEXT, Calle TEXT, NumExterior TEXT, NumInterior TEXT,
    ReferenciaDomic TEXT, Colonia TEXT, Localidad TEXT, Estado TEXT, Pais TEXT, Calle2 TEXT,
    NumExterior2 TEXT, NumInterior2 TEXT, ReferenciaDomic2 TEXT, Colonia2 TEXT, Localidad2 TEXT,
    Estado2 TEXT, Pais2 TEXT, CP2 TEXT, Municipio2 TEXT, NombreComercial TEXT, Regimen TEXT
);

CREATE TABLE Titulo100 (Encabezado TEXT);

CREATE TABLE Paridades (
    Paridad1 DOUBLE, Paridad2 DOUBLE, Paridad3 DOUBLE, Paridad4 DOUBLE, Paridad5 DOUBLE,
    Paridad6 DOUBLE, Paridad7 DOUBLE, Paridad8 DOUBLE, Paridad9 DOUBLE, Paridad10 DOUBLE
);

CREATE TABLE NotasDeCtes (
    Nota1 TEXT, Nota2 TEXT, Nota3 TEXT, Nota4 TEXT, Nota5 TEXT, Nota6 TEXT, Nota7 TEXT
);

-- Keyed on type and rate, so a scan returns the A (additional tax) rows before the I (IVA)
-- rows, each type by ascending rate.
CREATE TABLE PorcenImpuestos (
    Tipo TEXT NOT NULL,
    Porcentaje REAL NOT NULL,
    Importe DOUBLE NOT NULL DEFAULT 0,
    Impuesto DOUBLE NOT NULL DEFAULT 0,
    PRIMARY KEY (Tipo, Porcentaje)
) WITHOUT ROWID;

CREATE TABLE Gravado (
    Gravado DOUBLE, SinGravar DOUBLE,
    Adicp1 DOUBLE, Adicp2 DOUBLE, Adicp3 DOUBLE, Adicp4 DOUBLE, Adicp5 DOUBLE,
    Adicp6 DOUBLE, Adicp7 DOUBLE, Adicp8 DOUBLE, Adicp9 DOUBLE, Adicp10 DOUBLE,
    SubAdic1 DOUBLE, SubAdic2 DOUBLE, SubAdic3 DOUBLE, SubAdic4 DOUBLE, SubAdic5 DOUBLE,
    SubAdic6 DOUBLE, SubAdic7 DOUBLE, SubAdic8 DOUBLE, SubAdic9 DOUBLE, SubAdic10 DOUBLE,
    Adic1 DOUBLE, Adic2 DOUBLE, Adic3 DOUBLE, Adic4 DOUBLE, Adic5 DOUBLE,
    Adic6 DOUBLE, Adic7 DOUBLE, Adic8 DOUBLE, Adic9 DOUBLE, Adic10 DOUBLE,
    IVAp1 DOUBLE, IVAp2 DOUBLE, IVAp3 DOUBLE, IVAp4 DOUBLE, IVAp5 DOUBLE,
    IVAp6 DOUBLE, IVAp7 DOUBLE, IVAp8 DOUBLE, IVAp9 DOUBLE, IVAp10 DOUBLE,
    SubIVA1 DOUBLE, SubIVA2 DOUBLE, SubIVA3 DOUBLE, SubIVA4 DOUBLE, SubIVA5 DOUBLE,
    SubIVA6 DOUBLE, SubIVA7 DOUBLE, SubIVA8 DOUBLE, SubIVA9 DOUBLE, SubIVA10 DOUBLE,
    IVA1 DOUBLE, IVA2 DOUBLE, IVA3 DOUBLE, IVA4 DOUBLE, IVA5 DOUBLE,
    IVA6 DOUBLE, IVA7 DOUBLE, IVA8 DOUBLE, IVA9 DOUBLE, IVA10 DOUBLE
);
