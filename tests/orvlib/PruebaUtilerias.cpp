#include "orvlib/DelRegistro.h"
#include "orvlib/ErrorOrvlib.h"
#include "orvlib/FabricaOrvlib.h"
#include "orvlib/Utilerias.h"
#include "orvlib/libKwtm.h"

#include <gtest/gtest.h>

namespace {

TEST(Utilerias, CambXXX) {
    EXPECT_EQ(
        Utilerias::CambXXX(QStringLiteral("productos where clave='XXX'"), QStringLiteral("REF600")),
        QStringLiteral("productos where clave='REF600'"));
    EXPECT_EQ(Utilerias::CambXXX(QStringLiteral("XXX y XXX"), QStringLiteral("a")),
              QStringLiteral("a y a"));
}

TEST(Utilerias, EncriptaEsReversibleYNoDejaElTextoALaVista) {
    for (const QString& t : {QString(), QStringLiteral("root"), QStringLiteral("contraseña ñ€"),
                             QStringLiteral("  con blancos  ")}) {
        const QString cifrado = Utilerias::Encripta(t);
        EXPECT_FALSE(cifrado.trimmed().isEmpty());
        EXPECT_FALSE(!t.trimmed().isEmpty() && cifrado.contains(t));
        EXPECT_EQ(Utilerias::DesEncripta(cifrado), t);
    }
    EXPECT_EQ(Utilerias::DesEncripta(QStringLiteral("escrita en claro")),
              QStringLiteral("escrita en claro"));
}

TEST(FabricaOrvlib, CreaPorIdentificadorSinImportarMayusculas) {
    EXPECT_NE(dynamic_cast<libKwtm*>(FabricaOrvlib::crea(QStringLiteral("Orvlib.libKwtm")).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<libKwtm*>(FabricaOrvlib::crea(QStringLiteral("orvlib.LIBKWTM")).get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<DelRegistro*>(FabricaOrvlib::crea(QStringLiteral("orvlib.DelRegistro")).get()),
        nullptr);
    try {
        FabricaOrvlib::crea(QStringLiteral("Orvlib.NoExiste"));
        FAIL() << "debió fallar";
    } catch (const ErrorOrvlib& e) {
        EXPECT_EQ(e.numero(), 429);
    }
}

} // namespace
