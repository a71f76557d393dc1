#include "trabajos/exportacion/EscritorDeLibro.h"

#include "orvlib/ErrorDeEscritura.h"
#include "orvlib/ErrorDelPrograma.h"
#include "orvlib/EscritorDeArchivo.h"
#include "servicios/TemporalDelProceso.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <map>
#include <xlsxwriter.h>

namespace {

using Tipo = HojaDeCalculo::Tipo;

const char* patron(Tipo tipo) {
    switch (tipo) {
    case Tipo::Dinero:
        return "#,##0.00";
    case Tipo::Precio:
        return "#,##0.0000";
    case Tipo::Tasa:
        return "0.00";
    case Tipo::Fecha:
        return "dd/mm/yyyy";
    case Tipo::Cantidad:
    case Tipo::Entero:
    case Tipo::Texto:
        break;
    }
    return nullptr;
}

// The workbook's cell formats, one per kind of column, plain or bold for the totals and the
// headers.
class Formatos {
public:
    explicit Formatos(lxw_workbook* libro)
        : libro_(libro) {}

    lxw_format* De(Tipo tipo, bool negrita) {
        lxw_format*& formato = formatos_[{tipo, negrita}];
        if (formato == nullptr) {
            formato = workbook_add_format(libro_);
            if (const char* p = patron(tipo)) {
                format_set_num_format(formato, p);
            }
            if (negrita) {
                format_set_bold(formato);
            }
        }
        return formato;
    }

    lxw_format* Encabezado() {
        if (encabezado_ == nullptr) {
            encabezado_ = workbook_add_format(libro_);
            format_set_bold(encabezado_);
            format_set_bottom(encabezado_, LXW_BORDER_THIN);
        }
        return encabezado_;
    }

private:
    lxw_workbook* libro_;
    std::map<std::pair<Tipo, bool>, lxw_format*> formatos_;
    lxw_format* encabezado_ = nullptr;
};

void escribeCelda(lxw_worksheet* hoja, lxw_row_t fila, lxw_col_t columna,
                  const HojaDeCalculo::Valor& valor, lxw_format* formato) {
    if (const auto* texto = std::get_if<QString>(&valor)) {
        worksheet_write_string(hoja, fila, columna, texto->toUtf8().constData(), formato);
    } else if (const auto* entero = std::get_if<qint64>(&valor)) {
        worksheet_write_number(hoja, fila, columna, static_cast<double>(*entero), formato);
    } else if (const auto* importe = std::get_if<Importe>(&valor)) {
        worksheet_write_number(hoja, fila, columna, importe->ADouble(), formato);
    } else if (const auto* decimal = std::get_if<Decimal>(&valor)) {
        worksheet_write_number(hoja, fila, columna, decimal->ADouble(), formato);
    } else if (const auto* fecha = std::get_if<QDate>(&valor)) {
        lxw_datetime dia{fecha->year(), fecha->month(), fecha->day(), 0, 0, 0};
        worksheet_write_datetime(hoja, fila, columna, &dia, formato);
    }
}

void escribeHoja(lxw_workbook* libro, Formatos& formatos, const HojaDeCalculo& h) {
    lxw_worksheet* hoja = workbook_add_worksheet(libro, h.nombre.toUtf8().constData());
    if (hoja == nullptr) {
        throw ErrorDelPrograma(NumerosDeError::kSinNumero,
                               QStringLiteral("Nombre de hoja inválido: ") + h.nombre);
    }
    for (int c = 0; c < h.columnas.size(); ++c) {
        worksheet_write_string(hoja, 0, c, h.columnas[c].encabezado.toUtf8().constData(),
                               formatos.Encabezado());
        worksheet_set_column(hoja, c, c, EscritorDeLibro::Ancho(h, c), nullptr);
    }
    lxw_row_t fila = 1;
    for (const auto& [filas, negrita] : {std::pair{&h.filas, false}, {&h.totales, true}}) {
        for (const HojaDeCalculo::Fila& valores : *filas) {
            for (int c = 0; c < valores.size() && c < h.columnas.size(); ++c) {
                escribeCelda(hoja, fila, c, valores[c], formatos.De(h.columnas[c].tipo, negrita));
            }
            ++fila;
        }
    }
    worksheet_freeze_panes(hoja, 1, 0);
}

} // namespace

bool EscritorDeLibro::EsCsv(const QString& ruta) {
    return ruta.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

QString EscritorDeLibro::ConExtension(const QString& ruta) {
    if (EsCsv(ruta) || ruta.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        return ruta;
    }
    return ruta + QStringLiteral(".xlsx");
}

void EscritorDeLibro::Escribe(const LibroDeCalculo& libro, const QString& ruta) {
    EscritorDeArchivo::Escribe(ruta, EsCsv(ruta) ? Csv(libro) : Xlsx(libro, ruta));
}

double EscritorDeLibro::Ancho(const HojaDeCalculo& hoja, int columna) {
    const HojaDeCalculo::Columna& c = hoja.columnas[columna];
    qsizetype largo = c.encabezado.size() + 1;
    for (const auto* filas : {&hoja.filas, &hoja.totales}) {
        for (const HojaDeCalculo::Fila& fila : *filas) {
            if (columna < fila.size()) {
                largo = std::max(largo, HojaDeCalculo::Texto(fila[columna], c.tipo).size());
            }
        }
    }
    return static_cast<double>(std::clamp<qsizetype>(largo + 2, 8, 60));
}

QByteArray EscritorDeLibro::Xlsx(const LibroDeCalculo& libro, const QString& ruta) {
    // libxlsxwriter writes a file of its own: it goes in the process's scratch folder, and its
    // bytes then reach the destination through the checked writer.
    QTemporaryFile borrador(
        QDir(TemporalDelProceso::Carpeta()).filePath(QStringLiteral("exportacion-XXXXXX.xlsx")));
    if (!borrador.open()) {
        throw ErrorDeEscritura(borrador.fileTemplate(), errno, borrador.errorString());
    }
    borrador.close();
    QByteArray carpeta = QFile::encodeName(TemporalDelProceso::Carpeta());
    lxw_workbook_options opciones{};
    opciones.tmpdir = carpeta.data();
    lxw_workbook* xlsx =
        workbook_new_opt(QFile::encodeName(borrador.fileName()).constData(), &opciones);
    if (xlsx == nullptr) {
        throw ErrorDeEscritura(ruta, errno, QStringLiteral("no se pudo preparar el libro"));
    }
    Formatos formatos(xlsx);
    try {
        for (const HojaDeCalculo& hoja : libro) {
            escribeHoja(xlsx, formatos, hoja);
        }
    } catch (...) {
        workbook_close(xlsx);
        throw;
    }
    errno = 0;
    const lxw_error error = workbook_close(xlsx);
    if (error != LXW_NO_ERROR) {
        throw ErrorDeEscritura(ruta, errno, QString::fromUtf8(lxw_strerror(error)));
    }
    QFile hecho(borrador.fileName());
    if (!hecho.open(QIODevice::ReadOnly)) {
        throw ErrorDeEscritura(ruta, errno, hecho.errorString());
    }
    return hecho.readAll();
}
