#include "app/TF_rs232.h"

#include "app/InputBlocker.h"
#include "app/ScreenPlacement.h"
#include "transports/ComPortMap.h"
#include "sequences/ConnectionDoctor.h"
#include "transports/PortAddress.h"
#include "model/PortSettings.h"
#include "transports/SerialDeviceNames.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageTexts.h"
#include "i18n/NoticeText.h"
#include "diag/AnsiText.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QScreen>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTreeView>

#include <algorithm>

namespace {

// Columns of the drop-down list beside the COM entries; the box itself
// shows only the entry.
constexpr int kDeviceFileColumn = 1;
constexpr int kStableNameColumn = 2;
constexpr int kColumns = 3;

// The dialog's words for network ports (section F_rs232).
constexpr int kRawTcpText = 6;
constexpr int kRfc2217Text = 7;
constexpr int kTimeoutText = 8;
constexpr int kBadAddressText = 9;

// Text n of the dialog's section; `fallback` when the language file lacks it.
std::string formText(int n, const char* fallback)
{
    const std::string section = TextSection();
    SetTextSection("F_rs232");
    std::string text = GetText(n, "");
    SetTextSection(section);
    return text.starts_with('@') ? std::string(fallback) : text;
}

// What the second column says of a port: the adapter's stable name for a
// device file; for a network port its kind and reply time-out, or why its
// address cannot be used.
std::string portDescription(const std::string& path)
{
    if (!IsNetworkPort(path))
        return fileNameToAnsi(StableDeviceName(path));
    const PortAddress address = ParsePortAddress(path);
    if (!address.valid())
        return formText(kBadAddressText, "Invalid network address") + ": " + address.error;
    const bool raw = address.kind == PortAddress::Kind::Tcp;
    return formText(raw ? kRawTcpText : kRfc2217Text, raw ? "Network port (raw TCP)" : "Network port (RFC 2217)")
        + ", " + formText(kTimeoutText, "reply time-out") + " " + std::to_string(address.timeoutMs) + " ms";
}

} // namespace

TF_rs232::TF_rs232(PortSettings& port, QWidget* parent)
    : QDialog(parent)
    , m_port(port)
{
    setObjectName(QStringLiteral("F_rs232"));
    setProperty("tag", 1);
    setWindowTitle(QStringLiteral("RS232 Einstellung"));
    resize(275, 186);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 10));

    Label1 = new QLabel(QStringLiteral("Schnittstelle:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setProperty("tag", 2);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int port = 1; port <= MaxComPort; ++port)
        ComboBox1->addItem(QStringLiteral("COM%1").arg(port));
    qobject_cast<QStandardItemModel*>(ComboBox1->model())->setColumnCount(kColumns);
    auto* list = new QTreeView(ComboBox1);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    ComboBox1->setView(list);
    // Which device file stands behind the COM number, so the user can tell.
    m_portPath = new QLabel(this);
    m_portPath->setObjectName(QStringLiteral("LabelPortPath"));
    Btn_OK = new QPushButton(QStringLiteral("OK"), this);
    Btn_OK->setObjectName(QStringLiteral("Btn_OK"));
    Btn_OK->setProperty("tag", 3);
    Btn_OK->setDefault(true);
    Btn_abb = new QPushButton(QStringLiteral("Abbrechen"), this);
    Btn_abb->setObjectName(QStringLiteral("Btn_abb"));
    Btn_abb->setProperty("tag", 4);
    Btn_pruefen = new QPushButton(QString::fromUtf8("Verbindung pr\xC3\xBC" "fen"), this);
    Btn_pruefen->setObjectName(QStringLiteral("Btn_pruefen"));
    Btn_pruefen->setProperty("tag", 5);
    MemoPruefung = new QPlainTextEdit(this);
    MemoPruefung->setObjectName(QStringLiteral("MemoPruefung"));
    MemoPruefung->setReadOnly(true);
    MemoPruefung->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(Label1, 0, 0);
    layout->addWidget(ComboBox1, 0, 1);
    layout->addWidget(m_portPath, 1, 1);
    layout->addWidget(Btn_pruefen, 2, 1);
    layout->addWidget(MemoPruefung, 3, 0, 1, 2);
    layout->setRowStretch(3, 1);
    layout->addWidget(Btn_OK, 4, 0);
    layout->addWidget(Btn_abb, 4, 1);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TF_rs232::showPortPath);
    connect(Btn_OK, &QPushButton::clicked, this, &TF_rs232::Btn_OKClick);
    connect(Btn_abb, &QPushButton::clicked, this, &TF_rs232::Btn_abbClick);
    connect(Btn_pruefen, &QPushButton::clicked, this, &TF_rs232::Btn_pruefenClick);
    // A dialog made after the language was chosen speaks it from the start;
    // the main window's texts stay the current ones.
    const std::string section = TextSection();
    TranslateForm(this);
    SetTextSection(section);
}

void TF_rs232::showEvent(QShowEvent* event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TF_rs232::FormShow()
{
    refreshPortPaths();
    ComboBox1->setCurrentIndex(m_port.ComPortNr - 1);
    showPortPath(ComboBox1->currentIndex());
}

void TF_rs232::refreshPortPaths()
{
    auto* model = qobject_cast<QStandardItemModel*>(ComboBox1->model());
    const auto paths = comPortPaths();
    for (int row = 0; row < MaxComPort; ++row) {
        const std::string& path = paths[static_cast<size_t>(row)];
        model->setItem(row, kDeviceFileColumn, new QStandardItem(fileNameShown(path)));
        model->setItem(row, kStableNameColumn, new QStandardItem(ansiToQString(portDescription(path))));
    }
    auto* list = static_cast<QTreeView*>(ComboBox1->view());
    int width = 0;
    for (int column = 0; column < kColumns; ++column) {
        list->resizeColumnToContents(column);
        width += list->columnWidth(column);
    }
    // The list may be wider than the box: the stable names are long.
    list->setMinimumWidth(width + list->frameWidth() * 2 + 8);
}

void TF_rs232::Btn_OKClick()
{
    if (ComboBox1->currentIndex() >= 0)
        m_port.ComPortNr = ComboBox1->currentIndex() + 1;
    accept();
}

void TF_rs232::Btn_abbClick()
{
    reject();
}

void TF_rs232::Btn_pruefenClick()
{
    const int port = ComboBox1->currentIndex() + 1;
    const std::string path = comPortPath(port);
    std::vector<PortCheckup> checkups;
    {
        // The answer check waits for the device; the dialog repaints meanwhile.
        const InputBlocker noInputWhileChecking;
        checkups = CheckPorts({{port, path}}, {},
                              [] { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    }
    QStringList lines;
    for (const PortCheckup& checkup : checkups) {
        for (const Notice& finding : checkup.findings)
            lines << ansiToQString(NoticeText(finding)).replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    MemoPruefung->setPlainText(lines.join(QLatin1Char('\n')));
    MemoPruefung->show();
    showWholeCheckResult();
}

void TF_rs232::showWholeCheckResult()
{
    // The findings are sentences with device paths: the box grows until they
    // read without scrolling, up to two thirds of the screen's width and half
    // its height, and the dialog with it.
    const QRect room = screen()->availableGeometry();
    const QFontMetrics metrics(MemoPruefung->font());
    const QString text = MemoPruefung->toPlainText();
    int longest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int margins = 2 * (MemoPruefung->frameWidth() + static_cast<int>(MemoPruefung->document()->documentMargin())) +
                        metrics.averageCharWidth();
    const int width = std::min(longest + margins, room.width() * 2 / 3);
    const QRect wrapped = metrics.boundingRect(QRect(0, 0, width - margins, room.height()), Qt::TextWordWrap, text);
    const int height = std::min(wrapped.height() + margins + metrics.lineSpacing(), room.height() / 2);
    MemoPruefung->setMinimumSize(std::max(MemoPruefung->minimumWidth(), width), std::max(MemoPruefung->minimumHeight(), height));
    adjustSize();
    if (parentWidget() != nullptr)
        PlaceOnOwnersScreen(*this, *parentWidget());
}

QString TF_rs232::CheckResult() const
{
    return MemoPruefung->toPlainText();
}

void TF_rs232::showPortPath(int index)
{
    const QAbstractItemModel* model = ComboBox1->model();
    const QString path = model->index(index, kDeviceFileColumn).data().toString();
    const QString stableName = model->index(index, kStableNameColumn).data().toString();
    if (path.isEmpty())
        m_portPath->setText(QStringLiteral("-"));
    else if (stableName.isEmpty())
        m_portPath->setText(path);
    else
        m_portPath->setText(path + QLatin1Char('\n') + stableName);
}
