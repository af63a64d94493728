// The main window under a larger desktop font: status panels, the overview's
// headings and names and the link editor's bit numbers and captions keep
// their text whole and apart.

#include "app/MainWindow.h"
#include "model/Station.h"
#include "tests/common/ScopedConfigHome.h"
#include "widgets/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct FontCase {
    const char* languageFile;
    int points;
};

class LargerFont : public testing::TestWithParam<FontCase> {
protected:
    void SetUp() override
    {
        m_font = QApplication::font();
        QFont larger = m_font;
        larger.setPointSize(GetParam().points);
        QApplication::setFont(larger);
        m_config.writeSettings(std::string("[Kalmoria]\r\nSprache=") + GetParam().languageFile +
                               "\r\n[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        window.reset();
        QApplication::setFont(m_font);
    }

    template <typename T = QWidget>
    T* child(const QString& name) const
    {
        return window->findChild<T*>(name);
    }

    ScopedConfigHome m_config;
    QFont m_font;
    std::unique_ptr<TF_Kalmoria_main> window;
};

} // namespace

TEST_P(LargerFont, StatusPanelsAndTheProgressBarStayWholeAndApartInTheWindow)
{
    window->station().DeviceType = 0x3301;
    window->station().SerialNumber = 65535;
    window->ShowStatus();
    window->ShowSearchingPort(16);
    window->SetProgress(1999, 2000);
    QApplication::processEvents();
    const QStatusBar* bar = window->statusBar();
    int previousRight = -1;
    for (int i = 0; i < TF_Kalmoria_main::kStatusPanelCount; ++i) {
        const auto* panel = child<QLabel>(QStringLiteral("StatusPanel%1").arg(i));
        const std::string text = panel->text().toStdString();
        EXPECT_GE(panel->width(), panel->sizeHint().width()) << text;
        EXPECT_GT(panel->x(), previousRight) << text << " lies over the panel before it";
        previousRight = panel->geometry().right();
    }
    const auto* progress = child<QProgressBar>(QStringLiteral("ProgressBar1"));
    EXPECT_GT(progress->x(), previousRight);
    EXPECT_LE(progress->geometry().right(), bar->width());
    EXPECT_GE(progress->width(), progress->fontMetrics().horizontalAdvance(progress->text()));
    EXPECT_LE(bar->width(), window->width());
    window->HideProgress();
}

TEST_P(LargerFont, OverviewHeadingsAndModuleNamesAreNotCut)
{
    Station& station = window->station();
    station.ResetModel();
    station.ModuleTable[7].present = 1;
    station.ModuleTable[7].name = "Pumpwerk Oberdorf Zulauf Nord";
    station.AppendToModuleList(7);
    station.AppendToModuleList(0);
    window->ZeigeStation();
    auto* grid = child<StringGrid>(QStringLiteral("SG1"));
    const QFontMetrics headings(grid->horizontalHeader()->font());
    for (int col = 0; col < grid->columnCount(); ++col) {
        const QString heading = grid->horizontalHeaderItem(col)->text();
        EXPECT_LT(headings.horizontalAdvance(heading), grid->columnWidth(col)) << heading.toStdString();
        for (int row = 1; row <= 2; ++row) {
            const QString text = QString::fromStdString(grid->cell(col, row));
            EXPECT_LT(grid->fontMetrics().horizontalAdvance(text), grid->columnWidth(col)) << text.toStdString();
        }
    }
    EXPECT_GE(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height());
}

TEST_P(LargerFont, BitNumbersAndTheEditorsCaptionsKeepApartAndWhole)
{
    for (const int first : {1, 17}) {
        // Neighbouring headers, as placed: their numbers may not touch.
        std::vector<const QWidget*> headers;
        for (int n = first; n < first + 16; ++n)
            headers.push_back(child(QStringLiteral("STsp%1").arg(n)));
        std::sort(headers.begin(), headers.end(), [](const QWidget* a, const QWidget* b) { return a->x() < b->x(); });
        for (std::size_t i = 1; i < headers.size(); ++i) {
            const int spaced = headers[i]->fontMetrics().horizontalAdvance(QStringLiteral("15 "));
            const int apart = headers[i]->geometry().center().x() - headers[i - 1]->geometry().center().x();
            EXPECT_GE(apart, spaced) << "header " << first + static_cast<int>(i);
            EXPECT_GE(headers[i]->height(), headers[i]->fontMetrics().height());
        }
    }
    for (const char* name : {"StaticText1", "STL1"})
        EXPECT_GE(child(QLatin1String(name))->height(), window->fontMetrics().height()) << name;
    for (const char* name : {"LabRegQ", "LabBitQ", "LabRegZ", "LabBitZ", "LabAnzBit", "LVonQuelle", "LNachZiel", "LQuelle"}) {
        const auto* label = child<QLabel>(QLatin1String(name));
        EXPECT_GE(label->width(), label->sizeHint().width()) << name << ": " << label->text().toStdString();
        EXPECT_GE(label->height(), label->fontMetrics().height()) << name;
    }
    // Each band stays over its own pane.
    EXPECT_LE(child(QStringLiteral("LVonQuelle"))->geometry().right(), child(QStringLiteral("GQuelle"))->geometry().right());
    EXPECT_GE(child(QStringLiteral("LNachZiel"))->x(), child(QStringLiteral("GZiehl"))->x());
}

INSTANTIATE_TEST_SUITE_P(FontsAndLanguages, LargerFont,
                         testing::Values(FontCase{"KalmoriaDE.TXT", 12}, FontCase{"KalmoriaEN.TXT", 12},
                                         FontCase{"KalmoriaDE.TXT", 14}, FontCase{"KalmoriaEN.TXT", 14}),
                         [](const testing::TestParamInfo<FontCase>& info) {
                             return std::string(info.param.languageFile).substr(8, 2) +
                                    std::to_string(info.param.points) + "pt";
                         });
