#pragma once

#include <QMainWindow>

class TF_Kalmoria_main : public QMainWindow {
    Q_OBJECT
public:
    explicit TF_Kalmoria_main(QWidget* parent = nullptr);
};
