#pragma once

// The numbers errors carry, by name: those the program gives its own failures, and those of
// the server and its client library that the program tells apart. One list, so that a number is
// never written bare where an error is thrown or read.
namespace NumerosDeError {

// The program's own.
inline constexpr int kSinNumero = -1;        // a failure that came without a number
inline constexpr int kEstadoInvalido = 5;    // a step its data or state no longer allows
inline constexpr int kTiposNoCoinciden = 13; // an object of another kind than asked for
inline constexpr int kArchivoNoEncontrado = 53;
inline constexpr int kAccesoAArchivo = 75;   // a file or folder that could not be written
inline constexpr int kRutaNoEncontrada = 76; // a folder that could not be made
inline constexpr int kSinComponente = 429;   // an object no component of this build makes
inline constexpr int kBaseNoSeAbre = 3024;   // an auxiliary database that would not open
inline constexpr int kOperacionNoAdmitida = 3251;
inline constexpr int kCampoNoEncontrado = 3265;
inline constexpr int kConexionCerrada = 3704; // a statement on a connection not open

// The server's.
inline constexpr int kArchivoDelServidor = 1021; // its disk full
inline constexpr int kDemasiadasConexiones = 1040;
inline constexpr int kBaseNegada = 1044;
inline constexpr int kUsuarioRechazado = 1045;
inline constexpr int kBaseDesconocida = 1049;
inline constexpr int kTablaDesconocidaAlBorrar = 1051;
inline constexpr int kServidorApagandose = 1053;
inline constexpr int kTablaDesconocidaEnSentencia = 1109;
inline constexpr int kTablaLlena = 1114;
inline constexpr int kTablaNegada = 1142;
inline constexpr int kColumnaNegada = 1143;
inline constexpr int kTablaDesconocida = 1146;
inline constexpr int kDemasiadasDelUsuario = 1203;
inline constexpr int kEsperaDeBloqueo = 1205;
inline constexpr int kInterbloqueo = 1213;
inline constexpr int kLimiteDelUsuario = 1226;
inline constexpr int kPrivilegioNegado = 1227;
inline constexpr int kOpcionLoImpide = 1290; // read-only or another server option
inline constexpr int kSoloLectura = 1836;
inline constexpr int kConexionTerminada = 1927;
inline constexpr int kExigeCifrado = 3159;
inline constexpr int kInactividad = 4031;

// The client library's.
inline constexpr int kSinSocket = 2002;
inline constexpr int kSinServidor = 2003;
inline constexpr int kServidorDesconocido = 2005;
inline constexpr int kServidorSeFue = 2006;
inline constexpr int kConexionPerdida = 2013;
inline constexpr int kCifradoFallido = 2026;
inline constexpr int kConexionPerdidaAlLeer = 2055;

} // namespace NumerosDeError
