#include "interfaz/TraduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool TraduccionesQt::Instala() {
    static QTranslator* instalada = nullptr;
    if (instalada != nullptr) {
        return true;
    }
    auto* traduccion = new QTranslator(QCoreApplication::instance());
    if (!traduccion->load(QStringLiteral("qtbase_es"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete traduccion;
        return false;
    }
    QCoreApplication::installTranslator(traduccion);
    instalada = traduccion;
    return true;
}
