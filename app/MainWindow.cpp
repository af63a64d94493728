#include "app/MainWindow.h"

TF_Kalmoria_main::TF_Kalmoria_main(QWidget* parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral(" Kalmoria 1.30"));
}
