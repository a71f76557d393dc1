#include "impresion/modRPTs.h"

#include "impresion/CatalogoDeLaTienda.h"
#include "impresion/ImagenesDeFormato.h"
#include "orvlib/AlSalir.h"
#include "orvlib/CamposBin.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/NumerosDeError.h"
#include "reporteador/ArchivoDePlantilla.h"
#include "reporteador/ErrorDeReporte.h"
#include "reporteador/RevisorDePlantilla.h"
#include "servicios/Proceso.h"
#include "servicios/TemporalDelProceso.h"
#include "tienda/OrigenesODBC.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>

namespace {

const QByteArray kFinDeFormula("\x00\x0E\x10", 3);

QString conRpt(QString archivo) {
    if (!archivo.toLower().contains(QLatin1String(".rpt"))) {
        archivo += QStringLiteral(".rpt");
    }
    return archivo;
}

QByteArray leeArchivo(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly)) {
        throw ErrorOrvlib(NumerosDeError::kAccesoAArchivo, f.errorString(), ruta);
    }
    return f.readAll();
}

// The text of the engine's formula error: the formulas the program set, which the template
// may lack.
QString textoDeFormulas(const std::array<QString, 21>& formulas, const QString& descripcion) {
    QString texto = modRPTs::kFormulasQueFaltan;
    bool hay = false;
    for (const QString& f : formulas) {
        if (!f.trimmed().isEmpty()) {
            hay = true;
            texto += QStringLiteral("\r\n") + f.left(f.indexOf(QLatin1Char('=')));
        }
    }
    return hay ? texto : descripcion;
}

} // namespace

modRPTs& modRPTs::actual() {
    // Never destroyed: its engine holds database connections, which must not be closed after
    // Qt's own globals are gone at the end of the process.
    static auto* modulo = new modRPTs;
    return *modulo;
}

void modRPTs::InicializaReporte() {
    stArchivoReporte.clear();
    inDestino = 0;
    stSeleccion.clear();
    stControlador.clear();
    stImpresora.clear();
    stPuerto.clear();
    stFormulas.fill(QString());
    stMarcador.clear();
}

void modRPTs::ImprimeFormato(const FormatoDeLaCorrida& plantilla, const QString& seleccion,
                             const QString& rutaAuxiliar, const QString& tablaEncabezadoFormato,
                             const QString& tablaEncabezado, const QString& tablaDetalleFormato,
                             const QString& tablaDetalle) {
    stArchivoReporte = plantilla.Ruta();
    inDestino = 1;
    stSeleccion = seleccion;
    const Tablas tablas{rutaAuxiliar, tablaEncabezadoFormato, tablaEncabezado, tablaDetalleFormato,
                        tablaDetalle};
    const QString nombre = QFileInfo(stArchivoReporte).fileName();
    inPosicionesGenerales = 0;
    inReintento = 0;
    for (;;) {
        try {
            ejecutaUnaVez(plantilla, tablas);
            return;
        } catch (const ErrorDeReporte& e) {
            // The listing starts again from the next Generales entry the template holds.
            if ((e.numero() == ErrorDeReporte::kTabla || e.numero() == ErrorDeReporte::kServidor) &&
                ++inReintento < inPosicionesGenerales) {
                continue;
            }
            throw ErrorOrvlib(e.numero(),
                              e.numero() == ErrorDeReporte::kFormula
                                  ? textoDeFormulas(stFormulas, e.texto())
                                  : e.texto(),
                              nombre);
        } catch (const ErrorOrvlib& e) {
            const bool esLaPlantilla = e.contexto().compare(nombre, Qt::CaseInsensitive) == 0;
            throw ErrorOrvlib(e.numero(),
                              esLaPlantilla ? e.descripcion()
                                            : e.descripcion() + QStringLiteral(" (") +
                                                  e.contexto() + QLatin1Char(')'),
                              nombre);
        }
    }
}

QString modRPTs::TextoDeConexion() {
    const BasesDD& b = *Proceso::actual().bases;
    return QStringLiteral("DSN=myodbc3-test;SERVER=") + b.cRuta + QStringLiteral(";DB=") +
           b.cMiBase + QStringLiteral(";UID=") + b.cUsuario + QStringLiteral(";PWD=") +
           b.cPassword + QLatin1Char(';');
}

QString modRPTs::UbicacionDeTabla(const QString& entrada, const QString& rutaAuxiliar,
                                  const QString& tablaEncabezadoFormato,
                                  const QString& tablaEncabezado,
                                  const QString& tablaDetalleFormato, const QString& tablaDetalle) {
    return UbicacionDeTabla(entrada, rutaAuxiliar, tablaEncabezadoFormato, tablaEncabezado,
                            tablaDetalleFormato, tablaDetalle, Proceso::actual().bases->cMiBase);
}

QString modRPTs::UbicacionDeTabla(const QString& entrada, const QString& rutaAuxiliar,
                                  const QString& tablaEncabezadoFormato,
                                  const QString& tablaEncabezado,
                                  const QString& tablaDetalleFormato, const QString& tablaDetalle,
                                  const QString& base) {
    if (entrada.startsWith(QLatin1Char('A'))) {
        return rutaAuxiliar;
    }
    const QString nombre = entrada.mid(2);
    const qsizetype punto = nombre.indexOf(QLatin1Char('.'));
    QString tabla = punto < 0 ? nombre : nombre.mid(punto + 1);
    if (tabla.toLower() == tablaEncabezadoFormato.toLower()) {
        tabla = tablaEncabezado.toLower();
    }
    if (tabla.contains(QLatin1String("detalle"))) {
        tabla = tablaDetalleFormato;
    }
    if (tabla.toLower() == tablaDetalleFormato.toLower()) {
        tabla = tablaDetalle;
    }
    return tabla.contains(QLatin1Char('.')) ? tabla : base + QLatin1Char('.') + tabla;
}

// One pass of the engine: the template's table listing (the run's, or on a retry the one
// from the next Generales entry), where each table is read, the printer, the formulas and the
// job's settings, then the print.
void modRPTs::ejecutaUnaVez(const FormatoDeLaCorrida& plantilla, const Tablas& tablas) {
    QStringList entradas;
    if (inReintento == 0) {
        entradas = plantilla.Tablas();
        lnPosiciones = plantilla.PosicionesGenerales();
        inPosicionesGenerales = static_cast<qint16>(lnPosiciones.size() - 1);
    } else {
        TablasDelFormato(stArchivoReporte, entradas);
    }
    asignaTablas(entradas, tablas);
    if (inDestino == 1) {
        stControlador = plantilla.Impresora()[0];
        stImpresora = plantilla.Impresora()[1];
        stPuerto = plantilla.Impresora()[2];
    }
    asignaFormulas(plantilla);
    asignaTrabajo();
    crpReport.Asigna(17, 1);
}

void modRPTs::asignaTablas(const QStringList& entradas, const Tablas& t) {
    for (int i = 0; i < ControlDeReporte::kTablas; ++i) {
        crpReport.AsignaIndexada(32, i, QString());
    }
    // A preview keeps the size and colour rows in the auxiliary file, not in the host's table.
    const bool enVista = crpReport.DesvioActual() == ControlDeReporte::Desvio::Ventana;
    for (int j = 0; j < entradas.size(); ++j) {
        QString donde = UbicacionDeTabla(entradas[j], t.rutaAuxiliar, t.encabezadoFormato,
                                         t.encabezado, t.detalleFormato, t.detalle);
        if (enVista &&
            donde.section(QLatin1Char('.'), -1)
                    .compare(QLatin1String("partidatallaocolor"), Qt::CaseInsensitive) == 0) {
            donde = t.rutaAuxiliar;
        }
        crpReport.AsignaIndexada(32, j, donde);
    }
}

// Formulas the template does not have are dropped.
void modRPTs::asignaFormulas(const FormatoDeLaCorrida& plantilla) {
    for (int i = 0; i < ControlDeReporte::kFormulas; ++i) {
        const QString t = stFormulas[i].trimmed();
        if (!t.isEmpty()) {
            const qsizetype p = t.indexOf(QLatin1Char('='));
            if (p <= 0 || !ExisteFormulaEn(plantilla.Contenido(), stFormulas[i].left(p))) {
                stFormulas[i].clear();
            }
        }
        crpReport.AsignaIndexada(29, i, stFormulas[i]);
    }
}

void modRPTs::asignaTrabajo() {
    crpReport.Asigna(8, QStringLiteral("Visualización de ''"));
    crpReport.Asigna(15, 0);
    crpReport.Asigna(24, inDestino);
    crpReport.Asigna(3, stArchivoReporte);
    crpReport.Asigna(25, 0);
    crpReport.Asigna(12, QString());
    crpReport.AsignaIndexada(30, 0, QString());
    crpReport.Asigna(13, stSeleccion);
    crpReport.Asigna(47, stControlador);
    crpReport.Asigna(48, stImpresora);
    crpReport.Asigna(49, stPuerto);
    crpReport.Asigna(20, TextoDeConexion());
    crpReport.Marca(stMarcador);
}

QString modRPTs::TextoDelError(const ErrorOrvlib& e) {
    if (e.numero() == ErrorDeReporte::kFormula && e.descripcion().startsWith(kFormulasQueFaltan)) {
        return e.descripcion();
    }
    // A template with problems and a data source refused say what happened in their own words.
    if (e.numero() == ErrorDeReporte::kPlantilla || e.numero() == ErrorDeReporte::kServidor) {
        return e.descripcion();
    }
    return QStringLiteral("Error no. %1: %2").arg(e.numero()).arg(e.descripcion());
}

void modRPTs::ExtraeFormato(Conexion& conexion, const QString& archivo, QString& carpeta,
                            const QString& tabla) {
    const QString nombre = DeArchivos::NombreDeArchivo(archivo);
    CamposBin campos;
    if (carpeta.isEmpty()) {
        carpeta = TemporalDelProceso::Carpeta() + QLatin1Char('/');
    }
    campos.BaseDD = &conexion;
    campos.CampoLlave = QStringLiteral("Archivo");
    campos.CampoNumero = QStringLiteral("Renglon");
    campos.CampoTexto = QStringLiteral("Contenido");
    campos.cTablaRpts = tabla;
    campos.cRutaPrograma = Proceso::CarpetaDelPrograma();
    DeArchivos::CreaRuta(carpeta);
    campos.ExtraeRPT(nombre, carpeta);
}

qint16 modRPTs::TablasDelFormato(QString archivo, QStringList& tablas) {
    const QByteArray datos = leeArchivo(conRpt(archivo));
    if (inReintento == 0) {
        lnPosiciones.resize(1);
    }
    const qsizetype inicio = inReintento == 0 ? 1 : lnPosiciones.value(inReintento + 1, 1);
    const qsizetype antes = lnPosiciones.size();
    ListaTablas(datos, inicio, tablas, inReintento == 0 ? &lnPosiciones : nullptr);
    inPosicionesGenerales =
        static_cast<qint16>(inPosicionesGenerales + lnPosiciones.size() - antes);
    return static_cast<qint16>(tablas.size());
}

void modRPTs::ListaTablas(const QByteArray& datos, qsizetype inicio, QStringList& tablas,
                          QVector<qint32>* posicionesGenerales) {
    for (qsizetype posicion = inicio; posicion <= datos.size(); ++posicion) {
        if (datos.mid(posicion - 1, 2).toUpper() != "PD") {
            continue;
        }
        // Bytes past the end read as zeros, as a fixed-length read of the file does.
        const QByteArray ventana = datos.mid(posicion - 1, 60).leftJustified(60, '\0');
        const QByteArray minusculas = ventana.toLower();
        if (!minusculas.contains("pdbdao") && !minusculas.contains("pdsodbc")) {
            continue;
        }
        const QString entrada = InterpretaTabla(ventana);
        if (entrada.isEmpty()) {
            continue;
        }
        if (posicionesGenerales != nullptr && entrada.toLower() == QLatin1String("a generales")) {
            posicionesGenerales->append(static_cast<qint32>(posicion));
        }
        const bool repetida = std::any_of(tablas.begin(), tablas.end(), [&](const QString& t) {
            return t.toLower() == entrada.toLower();
        });
        if (!repetida) {
            tablas.append(entrada);
        }
    }
}

QString modRPTs::InterpretaTabla(const QByteArray& ventana) {
    const QByteArray minusculas = ventana.toLower();
    const qsizetype p = minusculas.indexOf(".dll");
    if (p < 0) {
        return {};
    }
    const QString tipo = minusculas.contains("pdbdao") ? QStringLiteral("A") : QStringLiteral("M");
    QByteArray resto = ventana.mid(p + 5);
    const qsizetype cero = resto.indexOf('\0');
    if (cero >= 0) {
        resto = resto.mid(cero + 1);
        const qsizetype otro = resto.indexOf('\0');
        if (otro >= 0) {
            resto = resto.left(otro);
        }
    }
    const QString entrada = tipo + QLatin1Char(' ') + QString::fromLatin1(resto);
    const bool control =
        std::any_of(entrada.begin(), entrada.end(), [](QChar c) { return c.unicode() < 32; });
    return control ? QString() : entrada;
}

bool modRPTs::ExisteFormula(QString archivo, const QString& nombre) {
    return ExisteFormulaEn(leeArchivo(conRpt(archivo)), nombre);
}

bool modRPTs::ExisteFormulaEn(const QByteArray& datos, const QString& nombre) {
    const QByteArray buscado = nombre.toLatin1().toUpper();
    if (buscado.isEmpty()) {
        return false;
    }
    // The name compared in upper case at every position: the file put in upper case once.
    const QByteArray mayusculas = datos.toUpper();
    for (qsizetype i = mayusculas.indexOf(buscado); i >= 0;
         i = mayusculas.indexOf(buscado, i + 1)) {
        if (datos.mid(i + buscado.size(), 3) == kFinDeFormula) {
            return true;
        }
    }
    return false;
}

void modRPTs::ImpresoraDelFormato(const QString& nombre, QString& impresora) {
    const std::array<QString, 3> instalada = ImpresoraDe(nombre, &impresora);
    if (!instalada[1].isEmpty()) {
        stControlador = instalada[0];
        stImpresora = instalada[1];
        stPuerto = instalada[2];
    }
}

std::array<QString, 3> modRPTs::ImpresoraDe(const QString& nombre, QString* nombrada) {
    QString clave = nombre;
    const qsizetype guion = nombre.indexOf(QLatin1Char('_'));
    if (guion >= 0) {
        clave = nombre.left(guion) + QStringLiteral(".rpt");
    }
    const QString impresora =
        Proceso::actual()
            .kw->LeeIni(QStringLiteral("Impresión de formatos"), clave, Proceso::actual().stIniHost)
            .trimmed();
    if (nombrada != nullptr) {
        *nombrada = impresora;
    }
    if (impresora.isEmpty()) {
        return {};
    }
    const QPrinterInfo info = ImpresoraInstalada(impresora);
    if (info.isNull()) {
        return {};
    }
    return {info.makeAndModel(), info.printerName(), info.printerName()};
}

QPrinterInfo modRPTs::ImpresoraInstalada(const QString& nombre) {
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        if (info.printerName().compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) {
            return info;
        }
    }
    return {};
}
