#include "tests/i18n/LanguageFixture.h"

#include "i18n/LanguageMenu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <memory>

namespace {

std::string withCaption(const std::string& text)
{
    return "[F_Test]\r\nT14=" + text + "\r\n";
}

class LanguageMenuTest : public LanguageTest {
protected:
    void SetUp() override
    {
        LanguageTest::SetUp();
        writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", withCaption("Standard")));
        form = std::make_unique<QWidget>();
        form->setObjectName(QStringLiteral("F_Test"));
        caption = new QLabel(QStringLiteral("@14Loeschen"), form.get());
        menu = new QMenu(QStringLiteral("Sprachwahl"), form.get());
    }

    void build(const std::string& stored)
    {
        config.write("Kalmoria.ini", "[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n\r\n[Kalmoria]\r\nSprache=" +
                                         stored + "\r\n");
        BuildLanguageMenu(kStamp, menu, "Kalmoria.ini",
                          [this](QAction* item) { LanguageMenuClick(menu, item); }, "Kalmoria", "Sprache");
    }

    QStringList captions() const
    {
        QStringList list;
        for (QAction* action : menu->actions())
            list << action->text() + (action->isChecked() ? QStringLiteral(" *") : QString());
        return list;
    }

    std::string storedChoice() const
    {
        const std::string text = settings();
        const auto at = text.find("Sprache=");
        return at == std::string::npos ? "?" : text.substr(at + 8, text.find('\r', at) - at - 8);
    }

    std::unique_ptr<QWidget> form;
    QLabel* caption = nullptr;
    QMenu* menu = nullptr;
};

} // namespace

TEST_F(LanguageMenuTest, ListsUsableFilesInNameOrderAndTicksTheStoredOne)
{
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610", withCaption("Delete")));
    program.write("KalmoriaDE.TXT", languageFile("Deutsch", "20150610", withCaption("L\xF6schen")));
    program.write("KalmoriaOLD.TXT", languageFile("Alt", "20150609"));
    program.write("KalmoriaNONAME.TXT", "[GLOBAL]\r\nVERSION=20150610\r\n");
    program.write("Other.TXT", languageFile("Other", "20150610"));
    program.write("KalmoriaEN.bak", languageFile("Backup", "20150610"));

    build("KalmoriaEN.TXT");
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English *")}));
    EXPECT_EQ(menu->actions()[0]->property("tag").toInt(), 200);
    EXPECT_EQ(menu->actions()[1]->property("tag").toInt(), 201);
    EXPECT_EQ(LanguageList(), (std::vector<std::string>{"KalmoriaDE.TXT", "KalmoriaEN.TXT"}));
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_TRUE(boxes.empty());
    // Activating the stored choice translated the open form.
    EXPECT_EQ(caption->text(), QStringLiteral("Delete"));
}

TEST_F(LanguageMenuTest, OneLanguageDisablesTheMenuAndAnUnlistedChoiceIsDropped)
{
    program.write("KalmoriaDE.TXT", languageFile("Deutsch", "20150610", withCaption("L\xF6schen")));
    program.write("KalmoriaOLD.TXT", languageFile("Alt", "20150609"));

    build("KalmoriaOLD.TXT");
    EXPECT_EQ(captions(), QStringList{QStringLiteral("Deutsch")});
    EXPECT_FALSE(menu->isEnabled());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(storedChoice(), "");
    EXPECT_NE(settings().find("COM3=/dev/ttyUSB0"), std::string::npos);
    EXPECT_EQ(caption->text(), QStringLiteral("Standard"));
}

TEST_F(LanguageMenuTest, ClickSwitchesTextsTickAndStoredChoice)
{
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610", withCaption("Delete")));
    program.write("KalmoriaDE.TXT", languageFile("Deutsch", "20150610", withCaption("L\xF6schen")));
    build("");
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));

    menu->actions()[1]->trigger();
    EXPECT_EQ(caption->text(), QStringLiteral("Delete"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English *")}));
    EXPECT_EQ(storedChoice(), "KalmoriaEN.TXT");
    EXPECT_NE(settings().find("[Schnittstellen]\r\nCOM3=/dev/ttyUSB0\r\n"), std::string::npos);

    menu->actions()[0]->trigger();
    EXPECT_EQ(caption->text(), QString::fromUtf8("L\xC3\xB6schen"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch *"), QStringLiteral("English")}));

    // Clicking the menu's own entry does nothing.
    LanguageMenuClick(menu, menu->menuAction());
    EXPECT_EQ(storedChoice(), "KalmoriaDE.TXT");

    // A file spoilt since the menu was built: the box, the default texts, no tick.
    program.write("KalmoriaEN.TXT", languageFile("English", "20150609"));
    menu->actions()[1]->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(caption->text(), QStringLiteral("Standard"));
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));
    EXPECT_EQ(storedChoice(), "");
}

TEST_F(LanguageMenuTest, QtsOwnButtonsSpeakTheActiveLanguageWhereQtHasIt)
{
    const auto yesNo = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        return QStringList{box.button(QMessageBox::Yes)->text(), box.button(QMessageBox::No)->text(),
                           box.button(QMessageBox::Cancel)->text()};
    };
    const auto course = [](const char* code) { return std::string("KursSprache=") + code + "\r\n"; };
    writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", course("DE")));
    program.write("KalmoriaDE.TXT", languageFile("Deutsch", "20150610", course("de")));
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610", course("EN")));
    program.write("KalmoriaXX.TXT", languageFile("Xanadu", "20150610", course("XX")));
    program.write("KalmoriaZZ.TXT", languageFile("Pfad", "20150610", course("../de")));

    build("");
    EXPECT_EQ(yesNo(), (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("Abbrechen")}));
    menu->actions().at(1)->trigger();
    EXPECT_EQ(yesNo(), (QStringList{QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("Cancel")}));
    menu->actions().at(0)->trigger();
    EXPECT_EQ(yesNo().at(0), QStringLiteral("&Ja"));

    // No Qt translation for the language, or no usable code: English, and no fuss.
    for (const int item : {2, 3}) {
        menu->actions().at(item)->trigger();
        EXPECT_EQ(yesNo().at(0), QStringLiteral("&Yes")) << item;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(LanguageMenuTest, WithoutAChoiceTheItemSpeakingTheDefaultFilesLanguageIsTicked)
{
    const auto course = [](const char* code) { return std::string("KursSprache=") + code + "\r\n"; };
    writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", course("DE")));
    program.write("KalmoriaEN.TXT", languageFile("English", "20150610", course("EN")));
    program.write("KalmoriaDE.TXT", languageFile("Deutsch", "20150610", course("de")));

    build("");
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch *"), QStringLiteral("English")}));
    EXPECT_EQ(storedChoice(), "");

    // A file spoilt since the menu was built leaves the default texts and no
    // tick: the failed choice is not shown as made, nor another one in its place.
    program.write("KalmoriaEN.TXT", languageFile("English", "20150609"));
    menu->actions()[1]->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(captions(), (QStringList{QStringLiteral("Deutsch"), QStringLiteral("English")}));
}
