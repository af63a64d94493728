#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// "RS232 Einstellung": lets the user pick the COM port of the device by hand.
// Only ComPortNr changes, and only on OK.
class TF_rs232 : public QDialog {
    Q_OBJECT
public:
    explicit TF_rs232(QWidget* parent = nullptr);

    void FormShow();
    void Btn_OKClick();
    void Btn_abbClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPortPath(int index);

    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* m_portPath = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_abb = nullptr;
};
