#pragma once

#include "interfaz/VentanaDeTrabajo.h"

#include <QList>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Builds a job window's controls where its design puts them, in twips, each with its name:
// labels, entry boxes (a box built for a label is the one the label's letter takes the focus
// to), buttons and any other control, and the window's tab order.
class ColocadorDeControles {
public:
    // Gives the window its design size.
    ColocadorDeControles(QWidget* ventana, int ancho, int alto);

    // "txtDato_4": the name of the control of a numbered set.
    static QString Nombre(const char* base, int indice);
    // The focus goes through the controls in this order with Tab.
    static void OrdenDeTabulacion(const QList<QWidget*>& controles);

    template <typename W>
    W* Coloca(W* control, const QString& nombre, int izquierda, int arriba, int ancho,
              int alto) const {
        control->setObjectName(nombre);
        control->setGeometry(VentanaDeTrabajo::Px(izquierda), VentanaDeTrabajo::Px(arriba),
                             VentanaDeTrabajo::Px(ancho), VentanaDeTrabajo::Px(alto));
        return control;
    }
    // A control of that kind made for the window.
    template <typename W>
    W* Crea(const QString& nombre, int izquierda, int arriba, int ancho, int alto) const {
        return Coloca(new W(ventana_), nombre, izquierda, arriba, ancho, alto);
    }
    QLabel* Etiqueta(const QString& nombre, const QString& texto, int izquierda, int arriba,
                     int ancho, int alto = 300) const;
    // An entry box, 375 twips high, that takes at most largo characters.
    QLineEdit* Caja(const QString& nombre, int izquierda, int arriba, int ancho,
                    int largo = 32767) const;
    // The same, the box of the label: the label's letter takes the focus to it.
    QLineEdit* CajaDe(QLabel* etiqueta, const QString& nombre, int izquierda, int arriba, int ancho,
                      int largo = 32767) const;
    QPushButton* Boton(const QString& nombre, const QString& texto, int izquierda, int arriba,
                       int ancho, int alto) const;

private:
    QWidget* ventana_;
};
