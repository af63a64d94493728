#include "app/MainWindow.h"
#include "diag/AnsiText.h"
#include "editor/pages/LinkPlanDialog.h"
#include "editor/pages/LinkTablePage.h"
#include "i18n/LanguageTexts.h"
#include "model/Station.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "tests/common/ScopedConfigHome.h"
#include "tests/common/ScriptedMessageBoxes.h"
#include "tests/common/TableLinks.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Stands in for the user at the plan's file dialog while it lives.
class ScriptedPlanFiles {
public:
    explicit ScriptedPlanFiles(std::optional<QString> answer)
        : answer(std::move(answer))
    {
        m_previous = SetPlanFileChooser([this](const QString& filter, const QString& proposed) {
            asked.emplace_back(filter, proposed);
            return this->answer;
        });
    }
    ~ScriptedPlanFiles() { SetPlanFileChooser(std::move(m_previous)); }

    std::optional<QString> answer;
    std::vector<std::pair<QString, QString>> asked; // filter, proposed path

private:
    PlanFileChooser m_previous;
};

// The plan opened from the link table page of the real main window, with a
// station of three modules read.
class LinkPlanDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_config.writeSettings("[Schnittstellen]\r\n");
        window = std::make_unique<TF_Kalmoria_main>();
        for (const int address : {0, 2, 9}) {
            ModuleRecord& module = station().ModuleTable[static_cast<std::size_t>(address)];
            module.present = 1;
            module.name = address == 0 ? "Zentrale" : "Station " + std::to_string(address);
            module.typeText = "PDX-44";
            if (address != 0)
                station().AppendToModuleList(address);
        }
        station().AppendToModuleList(0);
        station().OverviewOrigin = StationIdentity{4711, 10, 0x3301};
        setTableLinks(station(), {{2, 100, 0, 8, 9, 300, 0, 0}, {2, 101, 0, 8, 9, 301, 0, 0}, {9, 100, 0, 1, 40, 300, 0, 1}});
        window->ZeigeStation();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->findChild<QTabWidget*>(QStringLiteral("TabSheet"))->setCurrentIndex(2);
    }

    void TearDown() override
    {
        window.reset();
    }

    QPushButton* planButton() const { return window->findChild<QPushButton*>(QStringLiteral("BtnPlan")); }

    // Clicks "Verknüpfungsplan" and lets `user` act on the plan while it is up.
    void withPlan(const std::function<void(LinkPlanDialog&)>& user)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<LinkPlanDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || !dialog->isVisible())
                return;
            poll.stop();
            seen = true;
            user(*dialog);
            if (dialog->isVisible())
                dialog->findChild<QPushButton*>(QStringLiteral("BtnSchliessen"))->click();
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "the plan was left open";
            if (QWidget* open = QApplication::activeModalWidget())
                open->close();
        });
        poll.start();
        watchdog.start(10000);
        QTest::mouseClick(planButton(), Qt::LeftButton);
        EXPECT_TRUE(seen);
    }

    static void click(LinkPlanDialog& dialog, const char* button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }

    ScopedConfigHome m_config;
    // The station the window shows.
    Station& station() { return window->station(); }

    std::unique_ptr<TF_Kalmoria_main> window;
};

} // namespace

TEST_F(LinkPlanDialogTest, TheButtonBesideTheComparisonSpeaksTheLanguage)
{
    QPushButton* button = planButton();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Verkn\u00FCpfungsplan"));
    EXPECT_TRUE(button->toolTip().startsWith(QStringLiteral("Die Module als K\u00E4sten")))
        << button->toolTip().toStdString();
    auto* compare = window->findChild<QPushButton*>(QStringLiteral("BtnVergleichen"));
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(button->parentWidget(), compare->parentWidget());
    EXPECT_EQ(button->geometry().top(), compare->geometry().top());
    EXPECT_GT(button->geometry().left(), compare->geometry().right());

    for (QAction* item : window->findChildren<QAction*>()) {
        if (item->text() == QStringLiteral("English"))
            item->trigger();
    }
    EXPECT_EQ(button->text(), QStringLiteral("Link plan"));
}

TEST_F(LinkPlanDialogTest, ShowsTheModulesOfTheOverviewAndTheLinksOfTheTable)
{
    withPlan([](LinkPlanDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Verkn\u00FCpfungsplan"));
        const LinkPlan& plan = dialog.plan();
        ASSERT_EQ(plan.modules.size(), 4U);
        EXPECT_EQ(plan.modules[1].name, "Station 2");
        EXPECT_FALSE(plan.modules[3].inOverview) << "module 41 is only named by a link";
        ASSERT_NE(plan.arrow(2, 9, true), nullptr);
        EXPECT_EQ(plan.arrow(2, 9, true)->count(), 2);
        ASSERT_NE(plan.arrow(9, 40, false), nullptr);
        EXPECT_EQ(dialog.texts().title, QStringLiteral("Verkn\u00FCpfungsplan"));
        EXPECT_EQ(dialog.texts().subtitle.toStdString(),
                  "QMX mit der Seriennummer 4711, Adresse 10: 3 Module, 3 Verkn\u00FCpfungen, davon 1 inaktiv");
        EXPECT_EQ(dialog.texts().missing, QStringLiteral("nicht in der Modul\u00FCbersicht"));
        for (const char* name : {"BtnSvg", "BtnPng", "BtnSchliessen"}) {
            const auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
            ASSERT_NE(button, nullptr) << name;
            EXPECT_FALSE(button->text().startsWith(QLatin1Char('@'))) << name;
        }
        // The view paints the plan in the window's palette.
        auto* view = dialog.findChild<QWidget*>(QStringLiteral("LinkPlanView"));
        ASSERT_NE(view, nullptr);
        const QImage shown = view->grab().toImage();
        EXPECT_EQ(shown.pixelColor(2, 2), view->palette().color(QPalette::Base));
    });
}

TEST_F(LinkPlanDialogTest, SavesAsSvgAndAsPngWhereTheUserSays)
{
    const TempDir folder;
    station().LinkFileName = folder.file("anlage12.ini");
    ScriptedPlanFiles files(QString::fromStdString(folder.file("plan")));
    ScriptedMessageBoxes boxes;
    withPlan([&](LinkPlanDialog& dialog) {
        click(dialog, "BtnSvg");
        click(dialog, "BtnPng");
    });
    ASSERT_EQ(files.asked.size(), 2U);
    EXPECT_EQ(files.asked[0], std::make_pair(QStringLiteral("SVG-Grafik (*.svg)"),
                                             QString::fromStdString(folder.file("anlage12.svg"))));
    EXPECT_EQ(files.asked[1], std::make_pair(QStringLiteral("PNG-Bild (*.png)"),
                                             QString::fromStdString(folder.file("anlage12.png"))));
    // The name typed without its extension gets it.
    EXPECT_NE(folder.read("plan.svg").find("Station 9"), std::string::npos);
    QImage image;
    EXPECT_TRUE(image.load(QString::fromStdString(folder.file("plan.png"))));
    EXPECT_FALSE(image.isNull());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LinkPlanDialogTest, WritesNothingWhenTheUserCancelsAndTellsWhatCouldNotBeWritten)
{
    const TempDir folder;
    ScriptedMessageBoxes boxes;
    {
        ScriptedPlanFiles files(std::nullopt);
        withPlan([&](LinkPlanDialog& dialog) { click(dialog, "BtnSvg"); });
        EXPECT_EQ(files.asked.size(), 1U);
    }
    EXPECT_TRUE(boxes.shown.empty());

    ScriptedPlanFiles files(QString::fromStdString(folder.file("no folder/plan.png")));
    withPlan([&](LinkPlanDialog& dialog) {
        click(dialog, "BtnPng");
        EXPECT_TRUE(dialog.isVisible()) << "the plan stays for another try";
    });
    ASSERT_EQ(boxes.shown.size(), 1U);
    EXPECT_EQ(boxes.shown[0].kind, mbError);
    const std::string text = boxes.shown[0].text;
    EXPECT_EQ(text.rfind(qStringToAnsi(QStringLiteral("Der Verkn\u00FCpfungsplan kann nicht als ")), 0), 0U) << text;
    EXPECT_NE(text.find("no folder/plan.png"), std::string::npos) << text;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.file("no folder/plan.png"))));
}
