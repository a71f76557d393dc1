#include "apoyo/BaseDePrueba.h"
#include "apoyo/Dialecto55.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

TEST(Dialecto55, ReconoceLoQueMySql55NoAcepta) {
    const struct {
        const char* sentencia;
        const char* forma; // empty: MySQL 5.5 reads it
    } casos[] = {
        {"UPDATE t JOIN (SELECT Id, ROW_NUMBER() OVER (ORDER BY Fecha) AS n FROM t) r "
         "ON r.Id=t.Id SET t.Factura=r.n",
         "función de ventana"},
        {"SELECT LAG (x) FROM t", "función de ventana"},
        {"WITH dias AS (SELECT Fecha FROM remisiones) SELECT * FROM dias",
         "expresión de tabla común (WITH)"},
        {"DELETE FROM t WHERE Id=1 RETURNING Id", "RETURNING"},
        {"SELECT JSON_EXTRACT(c, '$.a') FROM t", "JSON"},
        {"SELECT * FROM a, LATERAL (SELECT 1) b", "LATERAL"},
        {"CREATE OR REPLACE TABLE t (x INT)", "CREATE OR REPLACE"},
        {"SELECT Id FROM a\nINTERSECT\nSELECT Id FROM b", "EXCEPT o INTERSECT"},
        {"CREATE TABLE t (x VARCHAR(3)) COLLATE utf8mb4_0900_ai_ci", "colación de MySQL 8.0"},
        {"ALTER TABLE t ADD COLUMN IF NOT EXISTS x INT", "IF [NOT] EXISTS de columnas"},
        {"SELECT * FROM t FOR UPDATE SKIP LOCKED", "NOWAIT o SKIP LOCKED"},
        {"ALTER TABLE t RENAME COLUMN a TO b", "RENAME COLUMN"},
        {"SET STATEMENT max_statement_time=1 FOR SELECT 1", "SET STATEMENT"},
        // What the program sends, and keywords only inside texts and names.
        {"SET @folio=1499", ""},
        {"UPDATE tmpremisiones SET Factura=(@folio:=@folio+1) ORDER BY Fecha, Id", ""},
        {"Create table tmpremisiones like remisiones", ""},
        {"CREATE DATABASE IF NOT EXISTS tmpreprocesarem", ""},
        {"SELECT Producto, MIN(Descripcion), Sum(Cantidad) FROM d group by Producto", ""},
        {"INSERT INTO clientes (Clave, Nombre) VALUES ('1', 'WITH x AS (EXCEPT) OVER (JSON)')", ""},
        {"SELECT `Lateral`, `Returning` FROM t WHERE Nombre=\"INTERSECT\"", ""},
        {"SELECT Nombre FROM t WHERE Nombre='it''s WITH a AS (x)'", ""},
        {"GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1' WITH GRANT OPTION", ""},
        {"SELECT Fecha, SUM(Total) FROM t GROUP BY Fecha WITH ROLLUP", ""},
        {"SELECT Overall, Leader FROM t", ""},
    };
    for (const auto& c : casos) {
        const QStringList ajeno = Dialecto55::Ajeno(QString::fromUtf8(c.sentencia));
        if (*c.forma == '\0') {
            EXPECT_TRUE(ajeno.isEmpty()) << c.sentencia << " → " << qPrintable(ajeno.join(", "));
        } else {
            EXPECT_EQ(ajeno, QStringList{QString::fromUtf8(c.forma)}) << c.sentencia;
        }
    }
}

TEST(Dialecto55, LeeLasSentenciasDelRegistroGeneral) {
    const QString registro = QStringLiteral(
        "mariadbd, Version: 10.11.6-MariaDB (Debian 12). started with:\n"
        "Tcp port: 33306  Unix socket: /tmp/mysqld.sock\n"
        "Time\t\t    Id Command\tArgument\n"
        "261206 14:23:31\t    16 Connect\troot@localhost on  using Socket\n"
        "\t\t    16 Query\tSELECT 1\n"
        "\t\t    16 Query\tSELECT\n"
        " 2, 'a\n"
        "b'\n"
        "\t\t    17 Init DB\tdatos1\n"
        "261206 14:23:32\t    17 Prepare\tSELECT Nombre FROM clientes WHERE Clave=?\n"
        "\t\t    17 Execute\tSELECT Nombre FROM clientes WHERE Clave='C1'\n"
        "\t\t    17 Quit\t\n");
    const QVector<SentenciaDelRegistro> s = SentenciasDelRegistro(registro);
    ASSERT_EQ(s.size(), 4);
    EXPECT_EQ(s[0].conexion, 16);
    EXPECT_EQ(s[0].texto, QStringLiteral("SELECT 1"));
    EXPECT_EQ(s[1].texto, QStringLiteral("SELECT\n 2, 'a\nb'"));
    EXPECT_EQ(s[2].conexion, 17);
    EXPECT_EQ(s[3].texto, QStringLiteral("SELECT Nombre FROM clientes WHERE Clave='C1'"));
}

// The server's general log, which the two tests below turn on before the suites that use the
// server and examine after them (ctest fixtures; see tests/CMakeLists.txt).
QString archivoDelRegistro(BaseDePrueba& base) {
    const QString archivo =
        base.valor(QStringLiteral("SELECT @@GLOBAL.general_log_file")).toString();
    return QFileInfo(archivo).isAbsolute()
               ? archivo
               : QDir(base.valor(QStringLiteral("SELECT @@GLOBAL.datadir")).toString())
                     .filePath(archivo);
}

TEST(RegistroGeneral, SeAbreVacio) {
    BaseDePrueba base;
    base.ejecuta(QStringLiteral("SET GLOBAL general_log=0"));
    QFile::remove(archivoDelRegistro(base));
    base.ejecuta(QStringLiteral("SET GLOBAL log_output='FILE'"));
    base.ejecuta(QStringLiteral("SET GLOBAL general_log=1"));
    EXPECT_EQ(base.valor(QStringLiteral("SELECT @@GLOBAL.general_log")).toInt(), 1);
    EXPECT_TRUE(QFileInfo::exists(archivoDelRegistro(base)));
}

TEST(RegistroGeneral, SoloSentenciasQueMySql55Acepta) {
    BaseDePrueba base;
    base.ejecuta(QStringLiteral("SET GLOBAL general_log=0"));
    QFile f(archivoDelRegistro(base));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(f.fileName());
    const QVector<SentenciaDelRegistro> sentencias =
        SentenciasDelRegistro(QString::fromUtf8(f.readAll()));
    ASSERT_GT(sentencias.size(), 10)
        << "el registro general no se llenó: " << qPrintable(f.fileName());
    int ajenas = 0;
    for (const SentenciaDelRegistro& s : sentencias) {
        const QStringList ajeno = Dialecto55::Ajeno(s.texto);
        if (!ajeno.isEmpty() && ++ajenas <= 20) {
            ADD_FAILURE() << qPrintable(ajeno.join(QStringLiteral(", "))) << " (conexión "
                          << s.conexion << "): " << qPrintable(s.texto.left(400));
        }
    }
    EXPECT_EQ(ajenas, 0) << "de " << sentencias.size() << " sentencias en "
                         << qPrintable(f.fileName());
}

} // namespace
