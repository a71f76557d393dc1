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
#include <functional>
#include <optional>

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

namespace {

// The path a template of that name is written out to in the process's scratch folder.
QString rutaDeFormato(const QString& archivoFormato) {
    return QDir(TemporalDelProceso::Carpeta()).filePath(conRpt(archivoFormato.toLower()));
}

} // namespace

void modRPTs::IniciaCorrida(Conexion& conexionHost, const QString& archivoFormato) {
    TerminaCorrida();
    const QString ruta = rutaDeFormato(archivoFormato);
    const QString nombre = QFileInfo(ruta).fileName();
    try {
        ActualizaOrigenesODBC();
        QString carpeta = QFileInfo(ruta).path();
        formatoDeCorrida_ = ruta;
        ExtraeFormato(conexionHost, ruta, carpeta, QStringLiteral("reportesbin"));
        imagenesDeCorrida_ =
            ImagenesDeFormato::Extrae(conexionHost, ruta, QStringLiteral("reportesbin"));
        const Plantilla p = ArchivoDePlantilla::LeeArchivo(ruta);
        const QStringList problemas =
            RevisorDePlantilla(p, CatalogoDeLaTienda::Lee(conexionHost, p), false).Revisa();
        if (!problemas.isEmpty()) {
            throw ErrorDeReporte(ErrorDeReporte::kPlantilla,
                                 QStringLiteral("La plantilla tiene problemas; corríjala y "
                                                "guárdela con «plantillas guarda»:\r\n") +
                                     problemas.join(QStringLiteral("\r\n")));
        }
        crpReport.IniciaCorrida(TextoDeConexion());
    } catch (const ErrorDeReporte& e) {
        TerminaCorrida();
        throw ErrorOrvlib(e.numero(), e.texto(), nombre);
    } catch (const ErrorOrvlib& e) {
        TerminaCorrida();
        const bool esLaPlantilla = e.contexto().compare(nombre, Qt::CaseInsensitive) == 0;
        throw ErrorOrvlib(e.numero(),
                          esLaPlantilla ? e.descripcion()
                                        : e.descripcion() + QStringLiteral(" (") + e.contexto() +
                                              QLatin1Char(')'),
                          nombre);
    }
}

void modRPTs::TerminaCorrida() {
    crpReport.TerminaCorrida();
    for (const QString& imagen : std::as_const(imagenesDeCorrida_)) {
        QFile::remove(imagen);
    }
    if (!formatoDeCorrida_.isEmpty()) {
        QFile::remove(formatoDeCorrida_);
    }
    formatoDeCorrida_.clear();
    imagenesDeCorrida_.clear();
    impresoraDeCorridaLeida_ = false;
    tablasDeCorrida_.clear();
    posicionesDeCorrida_.clear();
}

bool modRPTs::deLaCorrida() const {
    return !formatoDeCorrida_.isEmpty() &&
           QDir(QFileInfo(stArchivoReporte).path())
                   .filePath(conRpt(QFileInfo(stArchivoReporte).fileName().toLower())) ==
               formatoDeCorrida_;
}

// The printer the host's ini names for the template, looked up once in a run.
void modRPTs::ponImpresora() {
    if (impresoraDeCorridaLeida_ && deLaCorrida()) {
        stControlador = impresoraDeCorrida_[0];
        stImpresora = impresoraDeCorrida_[1];
        stPuerto = impresoraDeCorrida_[2];
        return;
    }
    QString impresora;
    ImpresoraDelFormato(QFileInfo(stArchivoReporte).fileName().toLower(), impresora);
    impresoraDeCorrida_ = {stControlador, stImpresora, stPuerto};
    impresoraDeCorridaLeida_ = deLaCorrida();
}

void modRPTs::InicializaReporte() {
    stArchivoReporte.clear();
    inDestino = 0;
    stSeleccion.clear();
    stControlador.clear();
    stImpresora.clear();
    stPuerto.clear();
    stFormulas.fill(QString());
}

void modRPTs::ImprimeFormato(const QString& archivoFormato, const QString& seleccion,
                             Conexion& conexionHost, const QString& rutaAuxiliar,
                             const QString& tablaEncabezadoFormato, const QString& tablaEncabezado,
                             const QString& tablaDetalleFormato, const QString& tablaDetalle) {
    stArchivoReporte = QDir(TemporalDelProceso::Carpeta()).filePath(archivoFormato);
    inDestino = 1;
    stSeleccion = seleccion;
    EjecutaReporte(conexionHost, rutaAuxiliar, tablaEncabezadoFormato, tablaEncabezado,
                   tablaDetalleFormato, tablaDetalle);
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

void modRPTs::EjecutaReporte(Conexion& conexionHost, const QString& rutaAuxiliar,
                             const QString& tablaEncabezadoFormato, const QString& tablaEncabezado,
                             const QString& tablaDetalleFormato, const QString& tablaDetalle) {
    QStringList tablas;
    QStringList imagenes;
    qint16 cuenta = 0;
    // A print of the run in progress finds its template written out and its data source set.
    const bool corrida = deLaCorrida();
    const std::vector<std::function<void()>> pasos = {
        [this] { inPosicionesGenerales = 0; },
        [corrida] {
            if (!corrida) {
                ActualizaOrigenesODBC();
            }
        },
        [this] {
            // Only the file name is put in lower case; the folder stays as it is on disk.
            const QFileInfo info(stArchivoReporte);
            stArchivoReporte = QDir(info.path()).filePath(conRpt(info.fileName().toLower()));
        },
        [&] {
            if (corrida) {
                return;
            }
            QString carpeta = QFileInfo(stArchivoReporte).path();
            ExtraeFormato(conexionHost, stArchivoReporte, carpeta, QStringLiteral("reportesbin"));
            imagenes = ImagenesDeFormato::Extrae(conexionHost, stArchivoReporte,
                                                 QStringLiteral("reportesbin"));
        },
        [this] {
            inPosicionesGenerales = 0;
            inReintento = 0;
        },
        [&] { cuenta = TablasDelFormato(stArchivoReporte, tablas); },
        [this] {
            for (int i = 0; i < ControlDeReporte::kTablas; ++i) {
                crpReport.AsignaIndexada(32, i, QString());
            }
        },
        [&] {
            for (int j = 1; j <= cuenta; ++j) {
                crpReport.AsignaIndexada(32, j - 1,
                                         UbicacionDeTabla(tablas[j - 1], rutaAuxiliar,
                                                          tablaEncabezadoFormato, tablaEncabezado,
                                                          tablaDetalleFormato, tablaDetalle));
            }
        },
        [&] { tablas.clear(); },
        [this] {
            const QString nombre = QFileInfo(stArchivoReporte).fileName().toLower();
            if (inDestino == 1 && nombre.startsWith(QLatin1String("fmt"))) {
                ponImpresora();
            }
        },
        [this] {
            for (int i = 0; i < 21; ++i) {
                const QString t = stFormulas[i].trimmed();
                if (!t.isEmpty()) {
                    const qsizetype p = t.indexOf(QLatin1Char('='));
                    if (p <= 0 || !ExisteFormula(stArchivoReporte, stFormulas[i].left(p))) {
                        stFormulas[i].clear();
                    }
                }
                crpReport.AsignaIndexada(29, i, stFormulas[i]);
            }
        },
        [this] {
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
        },
        [this] { crpReport.Asigna(17, 1); },
    };
    // The extracted template and its images go however the print ends, unless the run keeps
    // them.
    const AlSalir borraPlantilla([this, &imagenes, corrida] {
        if (corrida) {
            return;
        }
        for (const QString& imagen : std::as_const(imagenes)) {
            QFile::remove(imagen);
        }
        QFile::remove(stArchivoReporte);
    });
    constexpr std::size_t kListado = 5;
    std::size_t paso = 0;
    for (;;) {
        try {
            for (; paso < pasos.size(); ++paso) {
                pasos[paso]();
            }
            return;
        } catch (const ErrorDeReporte& e) {
            if (e.numero() == ErrorDeReporte::kTabla || e.numero() == ErrorDeReporte::kServidor) {
                // The listing starts again from the next Generales entry the template holds.
                tablas.clear();
                if (++inReintento < inPosicionesGenerales) {
                    paso = kListado;
                    continue;
                }
            }
            throw ErrorOrvlib(e.numero(),
                              e.numero() == ErrorDeReporte::kFormula
                                  ? textoDeFormulas(stFormulas, e.texto())
                                  : e.texto(),
                              QFileInfo(stArchivoReporte).fileName());
        } catch (const ErrorOrvlib& e) {
            const bool esLaPlantilla = e.contexto().compare(QFileInfo(stArchivoReporte).fileName(),
                                                            Qt::CaseInsensitive) == 0;
            throw ErrorOrvlib(e.numero(),
                              esLaPlantilla ? e.descripcion()
                                            : e.descripcion() + QStringLiteral(" (") +
                                                  e.contexto() + QLatin1Char(')'),
                              QFileInfo(stArchivoReporte).fileName());
        }
    }
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
    archivo = conRpt(archivo);
    // The run's template does not change: its first listing stands for the others.
    const bool deLaCorrida = !formatoDeCorrida_.isEmpty() && archivo == formatoDeCorrida_;
    if (deLaCorrida && inReintento == 0 && !tablasDeCorrida_.isEmpty()) {
        lnPosiciones = posicionesDeCorrida_;
        inPosicionesGenerales =
            static_cast<qint16>(inPosicionesGenerales + posicionesDeCorrida_.size() - 1);
        tablas = tablasDeCorrida_;
        return static_cast<qint16>(tablas.size());
    }
    const QByteArray datos = leeArchivo(archivo);
    if (inReintento == 0) {
        lnPosiciones.resize(1);
    }
    const qsizetype inicio = inReintento == 0 ? 1 : lnPosiciones.value(inReintento + 1, 1);
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
        if (inReintento == 0 && entrada.toLower() == QLatin1String("a generales")) {
            lnPosiciones.append(static_cast<qint32>(posicion));
            ++inPosicionesGenerales;
        }
        const bool repetida = std::any_of(tablas.begin(), tablas.end(), [&](const QString& t) {
            return t.toLower() == entrada.toLower();
        });
        if (!repetida) {
            tablas.append(entrada);
        }
    }
    if (deLaCorrida && inReintento == 0) {
        tablasDeCorrida_ = tablas;
        posicionesDeCorrida_ = lnPosiciones;
    }
    return static_cast<qint16>(tablas.size());
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
    archivo = conRpt(archivo);
    const QByteArray datos = leeArchivo(archivo);
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
    QString clave = nombre;
    const qsizetype guion = nombre.indexOf(QLatin1Char('_'));
    if (guion >= 0) {
        clave = nombre.left(guion) + QStringLiteral(".rpt");
    }
    impresora =
        Proceso::actual()
            .kw->LeeIni(QStringLiteral("Impresión de formatos"), clave, Proceso::actual().stIniHost)
            .trimmed();
    if (impresora.isEmpty()) {
        return;
    }
    const QPrinterInfo info = ImpresoraInstalada(impresora);
    if (!info.isNull()) {
        stControlador = info.makeAndModel();
        stImpresora = info.printerName();
        stPuerto = info.printerName();
    }
}

QPrinterInfo modRPTs::ImpresoraInstalada(const QString& nombre) {
    for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
        if (info.printerName().compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) {
            return info;
        }
    }
    return {};
}
