#include "tests/i18n/LanguageFixture.h"

#include "i18n/FormTranslation.h"
#include "tests/common/CapturedLog.h"

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <memory>

namespace {

// The same numbers in two languages; the hints only in English.
std::string formTexts(const std::string& lang, bool hints)
{
    std::string body = "T7=" + lang + " global\r\n[F_Test]\r\n";
    for (int n : {1, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 5})
        body += "T" + std::to_string(n) + "=" + lang + " " + std::to_string(n) + "\r\n";
    if (hints) {
        for (int n : {14, 19, 20, 21, 22, 23})
            body += "T" + std::to_string(n) + "H=hint " + std::to_string(n) + "\r\n";
    }
    body += "T91-1=" + lang + " line 1\r\nT91-2=" + lang + " line 2\r\nT91-3=\r\n";
    body += "[F_Dialog]\r\nT1=" + lang + " dialog\r\n";
    return body;
}

QString q(const std::string& ansi)
{
    return QString::fromLatin1(ansi.c_str());
}

class FormTranslationTest : public LanguageTest {
protected:
    void SetUp() override
    {
        LanguageTest::SetUp();
        writeAndReset("Kalmoria.TXT", languageFile("Standard", "20150610", formTexts("de", false)));
        program.write("KalmoriaEN.TXT", languageFile("English", "20150610", formTexts("en", true)));
        buildForm();
    }

    template <typename T>
    T* add(T* widget, const char* name, int tag = 0)
    {
        widget->setObjectName(QLatin1String(name));
        if (tag != 0)
            widget->setProperty("tag", tag);
        return widget;
    }

    void buildForm()
    {
        form = std::make_unique<QMainWindow>();
        form->setObjectName(QStringLiteral("F_Test"));
        form->setWindowTitle(QStringLiteral("@1Formular"));
        auto* page = new QWidget;
        label = add(new QLabel(QStringLiteral("@14Loeschen"), page), "Label1");
        button = add(new QPushButton(QStringLiteral("@15"), page), "Button1");
        group = add(new QGroupBox(QStringLiteral("@16"), page), "Group1");
        check = add(new QCheckBox(QStringLiteral("Ohne Nummer"), page), "Check1", 17);
        radio = add(new QRadioButton(QStringLiteral("@18"), page), "Radio1");
        edit = add(new QLineEdit(QStringLiteral("@19Eingabe"), page), "Edit1");
        global = add(new QLabel(QStringLiteral("@07"), page), "Label2");
        memo = add(new QPlainTextEdit(QStringLiteral("@91Tabelle\n1=a\n2=b\n"), page), "MemTab");
        tabs = add(new QTabWidget(form.get()), "TabSheet");
        tabs->addTab(add(page, "TabSheet1"), QStringLiteral("@20Seite"));
        form->setCentralWidget(tabs);

        auto* bar = add(new QToolBar(form.get()), "ToolBar1");
        tool = add(new QToolButton(bar), "ToolButton1");
        tool->setText(QStringLiteral("@21"));
        bar->addWidget(tool);
        form->addToolBar(bar);

        menu = add(form->menuBar()->addMenu(QStringLiteral("@22&Datei")), "Datei1");
        item = add(menu->addAction(QStringLiteral("@23")), "ende1");
    }

    std::unique_ptr<QMainWindow> form;
    QLabel* label = nullptr;
    QPushButton* button = nullptr;
    QGroupBox* group = nullptr;
    QCheckBox* check = nullptr;
    QRadioButton* radio = nullptr;
    QLineEdit* edit = nullptr;
    QLabel* global = nullptr;
    QPlainTextEdit* memo = nullptr;
    QTabWidget* tabs = nullptr;
    QToolButton* tool = nullptr;
    QMenu* menu = nullptr;
    QAction* item = nullptr;
};

} // namespace

TEST_F(FormTranslationTest, EveryComponentKindTakesItsTextAndKeepsItsNumberForTheNextLanguage)
{
    ASSERT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    TranslateForm(form.get());

    EXPECT_EQ(TextSection(), "F_Test");
    EXPECT_EQ(form->windowTitle(), q("en 1"));
    EXPECT_EQ(label->text(), q("en 14"));
    EXPECT_EQ(label->toolTip(), q("hint 14"));
    EXPECT_EQ(button->text(), q("en 15"));
    EXPECT_EQ(group->title(), q("en 16"));
    EXPECT_EQ(check->text(), q("en 17"));
    EXPECT_EQ(radio->text(), q("en 18"));
    EXPECT_EQ(edit->text(), q("@19Eingabe")); // the content of an edit field stays
    EXPECT_EQ(edit->toolTip(), q("hint 19"));
    EXPECT_EQ(global->text(), q("en global"));
    EXPECT_EQ(tabs->tabText(0), q("en 20"));
    EXPECT_EQ(tabs->tabToolTip(0), q("hint 20"));
    EXPECT_EQ(tool->text(), q("en 21"));
    EXPECT_EQ(tool->toolTip(), q("hint 21"));
    EXPECT_EQ(menu->title(), q("en 22"));
    EXPECT_EQ(menu->menuAction()->statusTip(), q("hint 22"));
    EXPECT_EQ(item->text(), q("en 23"));
    EXPECT_EQ(item->statusTip(), q("hint 23"));
    EXPECT_EQ(item->toolTip(), q("hint 23"));
    EXPECT_EQ(memo->toPlainText(), q("@91Tabelle\nen line 1\nen line 2\n"));
    EXPECT_EQ(form->property("helpKeyword").toString(), q("F_Test"));
    EXPECT_EQ(global->property("tag").toInt(), -7);

    // The captions no longer hold their numbers: the tags do.
    ASSERT_TRUE(ActivateLanguage(""));
    TranslateForm(form.get());
    EXPECT_EQ(form->windowTitle(), q("de 1"));
    EXPECT_EQ(label->text(), q("de 14"));
    EXPECT_EQ(label->toolTip(), q("hint 14")); // no hint in German: the last one stays
    EXPECT_EQ(global->text(), q("de global"));
    EXPECT_EQ(tabs->tabText(0), q("de 20"));
    EXPECT_EQ(tool->text(), q("de 21"));
    EXPECT_EQ(menu->title(), q("de 22"));
    EXPECT_EQ(item->text(), q("de 23"));
    EXPECT_EQ(memo->toPlainText(), q("@91Tabelle\nde line 1\nde line 2\n"));
    EXPECT_EQ(MissingTextCount(), 0);
}

TEST_F(FormTranslationTest, ComponentsWithoutUsableNumberAreLeftAlone)
{
    auto* parent = label->parentWidget();
    auto* plain = add(new QLabel(QStringLiteral("Status"), parent), "Plain");
    auto* high = add(new QLabel(QStringLiteral("@250x"), parent), "High");
    auto* highTag = add(new QLabel(QStringLiteral("Deutsch"), parent), "HighTag", 250);
    auto* lowTag = add(new QLabel(QStringLiteral("Tief"), parent), "LowTag", -100);
    auto* noDigits = add(new QLabel(QStringLiteral("@abc"), parent), "NoDigits", 5);
    auto* missing = add(new QLabel(QStringLiteral("@77Fehlt"), parent), "Missing");

    TranslateForm(form.get());
    EXPECT_EQ(plain->text(), q("Status"));
    EXPECT_FALSE(plain->property("tag").isValid());
    EXPECT_EQ(high->text(), q("@250x"));
    EXPECT_EQ(highTag->text(), q("Deutsch"));
    EXPECT_EQ(highTag->property("tag").toInt(), 250);
    EXPECT_EQ(lowTag->text(), q("Tief"));
    EXPECT_EQ(noDigits->text(), q("@abc"));
    // A number without text shows as its placeholder and is counted.
    EXPECT_EQ(missing->text(), q("@77"));
    EXPECT_EQ(MissingTextCount(), 1);
}

TEST_F(FormTranslationTest, DialogsAreFormsOfTheirOwnAndTheMainWindowComesLast)
{
    QDialog dialog(form.get());
    dialog.setObjectName(QStringLiteral("F_Dialog"));
    auto* caption = add(new QLabel(QStringLiteral("@1"), &dialog), "Label1");

    TranslateForm(form.get());
    EXPECT_EQ(caption->text(), q("@1"));

    ASSERT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    TranslateAllForms();
    EXPECT_EQ(caption->text(), q("en dialog"));
    EXPECT_EQ(label->text(), q("en 14"));
    EXPECT_EQ(TextSection(), "F_Test");
}

TEST_F(FormTranslationTest, TheComponentCountIsTheFormsOwnNamedComponents)
{
    CapturedLog log(1);
    TranslateForm(form.get());
    // The form, eleven widgets, the tool button, the menu and its item; not
    // the layouts, tab-bar buttons and viewports Qt adds.
    const auto messages = log.messages();
    const bool counted = std::ranges::any_of(messages, [](const std::string& line) {
        return line.ends_with("F_Test Komponentenzahl=14");
    });
    EXPECT_TRUE(counted) << testing::PrintToString(messages);
}
