#include "app/TrafficView.h"

#include "app/FileNameChooser.h"
#include "app/ScreenPlacement.h"
#include "capture/FrameListModel.h"
#include "capture/TrafficTexts.h"
#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace T = TrafficTextNumber;

namespace {

constexpr int kMainWindowEntry = 70;

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* made = new QPushButton(caption, parent);
    made->setObjectName(QLatin1String(name));
    return made;
}

std::optional<std::string> askSaveFile(QWidget* parent)
{
    const QString chosen = QFileDialog::getSaveFileName(parent, TrafficText(T::Save, "Als pcapng speichern..."),
                                                        QStringLiteral("Kalmoria.pcapng"),
                                                        TrafficText(T::SaveFilter, "pcapng-Mitschnitt (*.pcapng)"));
    if (chosen.isEmpty())
        return std::nullopt;
    return FileSystemPath(chosen);
}

} // namespace

TrafficView::TrafficView(FrameTap& tap, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_frames(new FrameListModel(tap, this))
    , m_table(new QTableView(this))
    , m_pause(button(this, "Anhalten", TrafficText(T::Pause, "Anhalten")))
    , m_clear(button(this, "Leeren", TrafficText(T::Clear, "Leeren")))
    , m_copy(button(this, "AlsHexKopieren", TrafficText(T::CopyHex, "Als Hex kopieren")))
    , m_save(button(this, "AlsPcapngSpeichern", TrafficText(T::Save, "Als pcapng speichern...")))
    , m_chooseSaveFile([this] { return askSaveFile(this); })
{
    setObjectName(QStringLiteral("F_Datenverkehr"));
    setWindowTitle(TrafficText(T::Title, "Datenverkehr"));
    m_table->setModel(m_frames);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(FrameListModel::TimeColumn, m_table->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00.000000  ")));
    m_table->setColumnWidth(FrameListModel::PortColumn, m_table->fontMetrics().horizontalAdvance(QStringLiteral("COM16 (/dev/ttyUSB0)  ")));
    m_table->setColumnWidth(FrameListModel::SummaryColumn, m_table->fontMetrics().horizontalAdvance(QStringLiteral("read 2100 \u00D74, write 30800 \u00D7252, CRC bad")));
    m_pause->setCheckable(true);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {m_pause, m_clear, m_copy, m_save})
        buttons->addWidget(each);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_table);
    resize(900, 420);

    connect(m_pause, &QPushButton::toggled, this, [this](bool paused) { m_frames->SetPaused(paused); });
    connect(m_clear, &QPushButton::clicked, m_frames, &FrameListModel::Clear);
    connect(m_copy, &QPushButton::clicked, this, &TrafficView::copySelection);
    connect(m_save, &QPushButton::clicked, this, &TrafficView::save);
    connect(m_frames, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = m_table->verticalScrollBar();
        const bool atEnd = bar->value() == bar->maximum();
        QMetaObject::invokeMethod(this, [this, atEnd] { followNewRows(atEnd); }, Qt::QueuedConnection);
    });
}

void TrafficView::followNewRows(bool wasAtEnd)
{
    if (wasAtEnd)
        m_table->scrollToBottom();
}

void TrafficView::copySelection()
{
    const QString hex = m_frames->HexLines(m_table->selectionModel()->selectedRows());
    if (!hex.isEmpty())
        QApplication::clipboard()->setText(hex);
}

void TrafficView::save()
{
    const std::optional<std::string> path = m_chooseSaveFile();
    if (!path)
        return;
    if (const std::string problem = m_frames->SaveCapture(*path); !problem.empty())
        MessageBoxEx(GetMessageText(kMessageCaptureNotWritten, {*path, problem}, 1), mbError, mbOk, 0);
}

void AddTrafficViewEntry(QMenu& menu, QWidget& window, FrameTap& tap)
{
    // Translated with the main window's menu, as text 70 of its section.
    QAction* entry = menu.addAction(QStringLiteral("@%1Datenverkehr").arg(kMainWindowEntry));
    entry->setObjectName(QStringLiteral("Datenverkehr1"));
    QObject::connect(entry, &QAction::triggered, &window, [&window, &tap] {
        auto* view = window.findChild<TrafficView*>(QString(), Qt::FindDirectChildrenOnly);
        if (view == nullptr) {
            view = new TrafficView(tap, &window);
            PlaceOnOwnersScreen(*view, window);
        }
        view->show();
        view->raise();
        view->activateWindow();
    });
}
