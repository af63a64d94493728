#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// "RS232 Einstellung": lets the user pick the COM port of the device by hand.
// Only ComPortNr changes, and only on OK. The drop-down list shows beside
// each COM number the device file behind it and the adapter's stable name
// under /dev/serial/by-id, so the user can tell which plug is which; for a
// network port (Kalmoria.ini: COM5=tcp://10.0.0.7:4001) its address, its
// kind (raw TCP or RFC 2217) and its reply time-out.
// "Verbindung prüfen" runs the connection doctor on the port chosen and shows
// what it found below the list, one line per finding.
struct PortSettings;

class TF_rs232 : public QDialog {
    Q_OBJECT
public:
    // OK sets the COM number of `port`.
    explicit TF_rs232(PortSettings& port, QWidget* parent = nullptr);

    void FormShow();
    void Btn_OKClick();
    void Btn_abbClick();
    void Btn_pruefenClick();
    // What the last check found, one line per finding (empty before one).
    QString CheckResult() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Fills each entry's device file and stable name: adapters may have come
    // or gone since the dialog was last shown.
    void refreshPortPaths();
    void showPortPath(int index);
    // Grows the check's box and the dialog until every finding shows.
    void showWholeCheckResult();

    PortSettings& m_port;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* m_portPath = nullptr;
    QPushButton* Btn_OK = nullptr;
    QPushButton* Btn_abb = nullptr;
    QPushButton* Btn_pruefen = nullptr;
    QPlainTextEdit* MemoPruefung = nullptr;
};
