#include "app/StatusPanels.h"

#include "app/WindowWords.h"
#include "diag/AnsiText.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int kPanelWidth = 100;
constexpr int kProgressWidth = 140;
// The widest count a transfer shows, "%v / %m".
const char* const kWidestProgress = "8888 / 8888";

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar)
    : QObject(bar)
{
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setFrameShadow(QFrame::Sunken);
        // 100 pixels each, wider where a text needs it (SetPanel); the last takes what is left.
        const bool last = i + 1 == m_panels.size();
        if (!last)
            panel->setMinimumWidth(kPanelWidth);
        panel->setContentsMargins(3, 0, 3, 0);
        bar->addWidget(panel, last ? 1 : 0);
        m_panels[i] = panel;
    }
    m_panels[0]->setText(ansiToQString(WindowStatusWords().address));
    m_panels[7]->setText(QStringLiteral("QMX Vers.:"));

    ProgressBar1 = new QProgressBar(bar);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFormat(QStringLiteral("%v / %m"));
    // Room for the count and, either side, for the bar's frame and ends.
    const QFontMetrics metrics = ProgressBar1->fontMetrics();
    ProgressBar1->setFixedWidth(std::max(kProgressWidth, metrics.horizontalAdvance(QLatin1String(kWidestProgress)) +
                                                             4 * metrics.averageCharWidth()));
    ProgressBar1->hide();
    bar->addPermanentWidget(ProgressBar1);
    keepRoom();
}

void StatusPanels::keepRoom()
{
    // A main window grows for its status bar's minimum size only: without it
    // a larger font lays the panels over each other and the progress bar
    // past the window's edge.
    auto* bar = static_cast<QStatusBar*>(parent());
    bar->setMinimumWidth(bar->minimumSizeHint().width());
}

void StatusPanels::Show(const std::array<std::string, kStatusPanelCount>& texts)
{
    for (int panel = 0; panel < kStatusPanelCount; ++panel)
        SetPanel(panel, texts[static_cast<std::size_t>(panel)]);
}

void StatusPanels::SetPanel(int panel, const std::string& text)
{
    if (panel < 0 || panel >= kStatusPanelCount)
        return;
    QLabel* label = m_panels[static_cast<std::size_t>(panel)];
    label->setText(ansiToQString(text));
    // A panel never clips its text ("ComPort-Suche ... COM16", "QMX-Type: 3301"):
    // the window grows before that.
    if (panel + 1 < kStatusPanelCount)
        label->setMinimumWidth(std::max(kPanelWidth, label->sizeHint().width()));
    keepRoom();
}

std::string StatusPanels::PanelText(int panel) const
{
    if (panel < 0 || panel >= kStatusPanelCount)
        return {};
    return qStringToAnsi(m_panels[static_cast<std::size_t>(panel)]->text());
}

bool StatusPanels::SetProgress(int done, int total)
{
    ProgressBar1->setRange(0, std::max(total, 1));
    ProgressBar1->setValue(std::clamp(done, 0, std::max(total, 1)));
    if (!ProgressBar1->isHidden()) {
        ProgressBar1->repaint();
        return false;
    }
    ProgressBar1->show();
    keepRoom();
    return true;
}

void StatusPanels::HideProgress()
{
    ProgressBar1->hide();
    keepRoom();
}
