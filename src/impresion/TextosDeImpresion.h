#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class Conexion;

// Texts and look-ups a printed document carries beside its own data.

// "Del 1 al 15 de diciembre del 2026" and its variants for a period given as two date texts;
// a text that is not a date counts as missing. Month names are Spanish on every system.
QString TextoDelPeriodo(const QString& desde, const QString& hasta);
// "(MIL DOSCIENTOS TREINTA Y CUATRO PESOS 50/100 M.N.)", also written to Titulo100 of the
// auxiliary file when a path is given. The amount is rounded to cents as the printed figures
// are, so 1159.9999999 reads as 1,160 and 00 cents and -1.25 as "MENOS UN … 25/100"; the
// currency's name is printed as the host stores it.
QString ImporteConLetra(double importe, const QString& nombreMoneda, const QString& abreviacion,
                        const QString& rutaAuxiliar);
// The exchange rates of the first ten currencies by Id, into one row of Paridades.
void GuardaParidades(Conexion& conexionHost, const QString& rutaAuxiliar);
// The same with the rates read before (MonedasDeLaCorrida), as Paridad1 … Paridad10.
void GuardaParidades(const QList<QPair<QString, QVariant>>& paridades, const QString& rutaAuxiliar);
// The lines of a text split at carriage returns (line feeds dropped), from index 1; index 0 is
// left empty.
void SeparaRenglones(const QString& texto, QStringList& renglones);
// Up to seven lines of the note, 200 characters each, into one row of NotasDeCtes.
void GuardaNotas(const QString& rutaAuxiliar, const QString& nota);
// Removes the size and colour rows of partidatallaocolor whose IdExterna starts with the prefix.
void BorraPartidasTallaOColor(Conexion& conexionHost, const QString& prefijo);

// For the document's lines that come from size or colour variants, their breakdown
// ("T-CH-2/T-G-1") into the host's partidatallaocolor, in three pieces of 250 characters. A
// preview gives the run's auxiliary file as destino: the rows go to a table of the same name
// there, emptied first, and the host is only read.
void PartidasTallaOColor(Conexion& conexionHost, const QString& tablaDetalle, qint32 idDocumento,
                         const QString& campoId, Conexion* destino = nullptr);
// The auxiliary file's own partidatallaocolor, made when missing, without rows: a preview's
// notes read theirs there.
void VaciaPartidasTallaOColor(Conexion& auxiliar);
