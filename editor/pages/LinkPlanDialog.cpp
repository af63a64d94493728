#include "editor/pages/LinkPlanDialog.h"

#include "editor/drawing/LinkPlanTexts.h"

#include "diag/AnsiText.h"
#include "diag/MessageNumbers.h"
#include "i18n/LanguageTexts.h"
#include "i18n/MessageBoxEx.h"
#include "model/Station.h"
#include "diag/ProgramFolder.h"
#include "model/LinkModel.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// The dialog's texts belong to the main window's section.
constexpr int kTextPlan = 60;
constexpr int kTextSaveSvg = 61;
constexpr int kTextSavePng = 62;
constexpr int kTextClose = 63;
constexpr int kTextSvgFilter = 68;
constexpr int kTextPngFilter = 69;

PlanFileChooser& installedChooser()
{
    static PlanFileChooser chooser;
    return chooser;
}

QPushButton* createButton(QWidget* parent, const char* name, int text, const char* german)
{
    auto* button = new QPushButton(MainWindowText(text, german), parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(MainWindowHint(text));
    return button;
}

} // namespace

PlanFileChooser SetPlanFileChooser(PlanFileChooser chooser)
{
    return std::exchange(installedChooser(), std::move(chooser));
}

std::optional<QString> ShowQtPlanFileDialog(const QString& filter, const QString& proposed)
{
    const QString chosen = QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), proposed, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

LinkPlanView::LinkPlanView(const LinkPlan& plan, const LinkPlanTexts& texts, QWidget* parent)
    : QWidget(parent)
    , m_plan(plan)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("LinkPlanView"));
    setMinimumSize(320, 240);
}

QSize LinkPlanView::sizeHint() const
{
    return m_plan.size.toSize();
}

void LinkPlanView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const LinkPlanPainter plan(m_plan, m_texts, palette());
    painter.fillRect(rect(), plan.background());
    // The whole plan in view, never larger than it is.
    const double scale = std::min({1.0, width() / std::max(m_plan.size.width(), 1.0),
                                   height() / std::max(m_plan.size.height(), 1.0)});
    painter.translate((width() - m_plan.size.width() * scale) / 2, (height() - m_plan.size.height() * scale) / 2);
    painter.scale(scale, scale);
    plan.paint(painter);
}

LinkPlanDialog::LinkPlanDialog(const Station& station, QWidget* parent)
    : QDialog(parent)
    , m_linkFile(station.LinkFileName)
{
    setObjectName(QStringLiteral("LinkPlanDialog"));
    const std::vector<PlanModule> modules = OverviewPlanModules(station);
    const std::vector<LinkRecord> links = station.CurrentLinks();
    m_plan = LayOutLinkPlan(modules, links);

    m_texts = CurrentLinkPlanTexts(m_plan, modules.size(), links.size(), station.OverviewOrigin);

    setWindowTitle(MainWindowText(kTextPlan, "Verkn\xFCpfungsplan"));
    View = new LinkPlanView(m_plan, m_texts, this);
    BtnSvg = createButton(this, "BtnSvg", kTextSaveSvg, "Als SVG speichern...");
    BtnPng = createButton(this, "BtnPng", kTextSavePng, "Als PNG speichern...");
    BtnSchliessen = createButton(this, "BtnSchliessen", kTextClose, "Schlie\xDF" "en");
    connect(BtnSvg, &QPushButton::clicked, this, &LinkPlanDialog::BtnSvgClick);
    connect(BtnPng, &QPushButton::clicked, this, &LinkPlanDialog::BtnPngClick);
    connect(BtnSchliessen, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout();
    buttons->addWidget(BtnSvg);
    buttons->addWidget(BtnPng);
    buttons->addStretch(1);
    buttons->addWidget(BtnSchliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(View, 1);
    layout->addLayout(buttons);

    // The plan at its size where the screen has room, else as much as it has.
    QSize size = m_plan.size.toSize() + QSize(24, 64);
    if (const QScreen* screen = parent != nullptr ? parent->screen() : QApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

QPalette LinkPlanDialog::printPalette()
{
    return LinkPlanPrintPalette();
}

void LinkPlanDialog::BtnSvgClick()
{
    save(Format::Svg);
}

void LinkPlanDialog::BtnPngClick()
{
    save(Format::Png);
}

QString LinkPlanDialog::proposedPath(Format format) const
{
    // Beside the link file, under its name; else in the working folder.
    const QFileInfo linkFile(QFile::decodeName(m_linkFile.c_str()));
    const QString folder = linkFile.path() != QLatin1String(".") || StartDirectory().empty()
                               ? linkFile.absolutePath()
                               : QFile::decodeName(StartDirectory().c_str());
    const QString base =
        linkFile.completeBaseName().isEmpty() ? QStringLiteral("QMXverk") : linkFile.completeBaseName();
    return QDir(folder).filePath(base + (format == Format::Svg ? QStringLiteral(".svg") : QStringLiteral(".png")));
}

void LinkPlanDialog::save(Format format)
{
    const QString filter = format == Format::Svg ? MainWindowText(kTextSvgFilter, "SVG-Grafik (*.svg)")
                                                 : MainWindowText(kTextPngFilter, "PNG-Bild (*.png)");
    const PlanFileChooser& chooser = installedChooser();
    const std::optional<QString> chosen = chooser ? chooser(filter, proposedPath(format)) : std::nullopt;
    if (!chosen || chosen->isEmpty())
        return;
    QString path = *chosen;
    const QString suffix = format == Format::Svg ? QStringLiteral("svg") : QStringLiteral("png");
    if (QFileInfo(path).suffix().compare(suffix, Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + suffix;
    QString reason;
    const bool saved = format == Format::Svg ? SaveLinkPlanSvg(m_plan, m_texts, printPalette(), path, &reason)
                                             : SaveLinkPlanPng(m_plan, m_texts, printPalette(), path, &reason);
    if (!saved)
        MessageBoxEx(GetMessageText(kMessageNotSaved, {qStringToAnsi(path), qStringToAnsi(reason)}, 1), mbError, mbOk,
                     0);
}
