#include "interfaz/ColocadorDeControles.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ColocadorDeControles::ColocadorDeControles(QWidget* ventana, int ancho, int alto)
    : ventana_(ventana) {
    ventana_->resize(VentanaDeTrabajo::Px(ancho), VentanaDeTrabajo::Px(alto));
}

QString ColocadorDeControles::Nombre(const char* base, int indice) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(indice);
}

void ColocadorDeControles::OrdenDeTabulacion(const QList<QWidget*>& controles) {
    for (qsizetype i = 1; i < controles.size(); ++i) {
        QWidget::setTabOrder(controles[i - 1], controles[i]);
    }
}

QLabel* ColocadorDeControles::Etiqueta(const QString& nombre, const QString& texto, int izquierda,
                                       int arriba, int ancho, int alto) const {
    return Coloca(new QLabel(texto, ventana_), nombre, izquierda, arriba, ancho, alto);
}

QLineEdit* ColocadorDeControles::Caja(const QString& nombre, int izquierda, int arriba, int ancho,
                                      int largo) const {
    auto* caja = Coloca(new QLineEdit(ventana_), nombre, izquierda, arriba, ancho, 375);
    caja->setMaxLength(largo);
    return caja;
}

QLineEdit* ColocadorDeControles::CajaDe(QLabel* etiqueta, const QString& nombre, int izquierda,
                                        int arriba, int ancho, int largo) const {
    QLineEdit* caja = Caja(nombre, izquierda, arriba, ancho, largo);
    etiqueta->setBuddy(caja);
    return caja;
}

QPushButton* ColocadorDeControles::Boton(const QString& nombre, const QString& texto, int izquierda,
                                         int arriba, int ancho, int alto) const {
    return Coloca(new QPushButton(texto, ventana_), nombre, izquierda, arriba, ancho, alto);
}
