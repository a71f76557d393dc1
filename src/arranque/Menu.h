#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

// The main menu, the program's only top-level window: connection status and one button per
// job, each job opened modally.
class Menu : public QWidget {
    Q_OBJECT
public:
    explicit Menu(QWidget* parent = nullptr);

    static QString TituloDeDiseno() { return QStringLiteral("Reimpresión de remisiones"); }

protected:
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;

private:
    void alCargar();
    void alActivarPorPrimeraVez();
    QPushButton* boton(const QString& nombre, const QString& texto);

    QLabel* Picture1;
    QLabel* Label1;
    QPushButton* Command2;
    QPushButton* Command8;
    QPushButton* Command1;
    QPushButton* Command3;
    bool primeraActivacion_ = true;
};
