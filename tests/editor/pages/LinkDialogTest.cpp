#include "editor/pages/TF_PDauswahl.h"

#include "tests/editor/LinkTableFixture.h"
#include "diag/AnsiText.h"
#include "diag/ProgramFolder.h"
#include "editor/pages/ChoiceLabel.h"
#include "i18n/FormTranslation.h"
#include "i18n/LanguageTexts.h"
#include "tests/common/ModalScript.h"
#include "tests/common/TempDir.h"

#include <QApplication>
#include <QEnterEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kLink = "Verkn\xFCpfung - ";

// A right-click on bit 2 of register 100 in the source pane of module 3, with
// module 5 in the target pane from register 300 on.
LinkDialogContext sourceBit2()
{
    return {3, LinkTableFixture::kPositionOf3, 100, 0, LinkTableFixture::kPositionOf5, 300, 0};
}

ChoiceLabel* label(const TF_PDauswahl& dialog, const QString& name)
{
    auto* found = dialog.findChild<ChoiceLabel*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

int visibleLabels(const TF_PDauswahl& dialog)
{
    int visible = 0;
    for (const ChoiceLabel* l : dialog.findChildren<ChoiceLabel*>())
        visible += l->isVisibleTo(&dialog) ? 1 : 0;
    return visible;
}

// Asks the dialog about `context` and, once it is up, lets `user` act on it.
int32_t askAndAnswer(TF_PDauswahl& dialog, const Station& station, LinkDialogContext& context, const std::function<void()>& user)
{
    int32_t answer = -1;
    WhileModal(dialog, [&] { answer = dialog.ask(station, context); }, user);
    return answer;
}

void pressEsc(TF_PDauswahl& dialog)
{
    QTest::keyClick(&dialog, Qt::Key_Escape);
}

// Every test starts with a language file that has no texts for the dialog.
class LinkDialogTest : public LinkTableFixture {
protected:
    void SetUp() override
    {
        LinkTableFixture::SetUp();
        m_language.write("Kalmoria.TXT", "[GLOBAL]\r\nVERSION=20150610\r\nSPRACHE=Leer\r\n");
        ResetLanguageTexts(m_language.path(), "Kalmoria");
    }

    void TearDown() override
    {
        SetFormTranslationHook({});
        ResetLanguageTexts(programFolder(), "Kalmoria");
        LinkTableFixture::TearDown();
    }

    // Link A into module 5 (in view, active) and link B into module 7 (not in
    // view), both on bit 2 of register 100.
    void addTwoLinksOnBit2()
    {
        addLink(3, 100, 0, 4, 5, 300, 0, true);
        addLink(3, 100, 2, 2, 7, 300, 0);
    }

private:
    TempDir m_language;
};

} // namespace

TEST_F(LinkDialogTest, ShowsOneRowPerLinkOnTheCellWithGreyDefaultsForWhatItCannotOffer)
{
    addTwoLinksOnBit2();
    TF_PDauswahl dialog;
    LinkDialogContext context = sourceBit2();

    struct Expected {
        const char* label;
        std::string caption;
        bool enabled;
    };
    const std::vector<Expected> expected{
        {"Label1", "Verkn\xFCpfung Anzeigen", false},    {"Label2", kLink + "A deaktivieren", true},
        {"Label3", kLink + "A l\xF6schen", true},        {"Label4", kLink + "B anzeigen", true},
        {"Label5", "Verkn\xFCpfung aktiv/deaktiv", false}, {"Label6", "Verkn\xFCpfung l\xF6schen", false},
    };
    const int32_t answer = askAndAnswer(dialog, station, context, [&] {
        EXPECT_EQ(dialog.rowCount(), 2);
        EXPECT_EQ(dialog.size(), QSize(220, 141));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            SCOPED_TRACE(expected[i].label);
            const ChoiceLabel* l = label(dialog, QLatin1String(expected[i].label));
            EXPECT_EQ(l->text(), ansiToQString(expected[i].caption));
            EXPECT_EQ(l->isEnabled(), expected[i].enabled);
            EXPECT_EQ(QRect(l->mapTo(&dialog, QPoint(0, 0)), l->size()),
                      QRect(8, 20 * static_cast<int>(i), 200, 17));
        }
        const ChoiceLabel* cancel = label(dialog, QStringLiteral("Labbrechen"));
        EXPECT_EQ(cancel->text(), QStringLiteral("abbrechen"));
        EXPECT_TRUE(cancel->isEnabled());
        EXPECT_EQ(cancel->geometry(), QRect(1, 121, 216, 17));
        EXPECT_EQ(visibleLabels(dialog), 7);
        pressEsc(dialog);
    });
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(context.result, 0);
}

TEST_F(LinkDialogTest, GrowsWithTheLinksOnTheCellAndScrollsWhenTheyPassTheScreen)
{
    TF_PDauswahl dialog;
    LinkDialogContext context = sourceBit2();
    const auto rowsShown = [&](int rows, const std::function<void()>& check) {
        SCOPED_TRACE(rows);
        SetUp();
        for (int n = 0; n < rows; ++n)
            addLink(3, 100, 2, 1, 5, 300 + n, 0);
        askAndAnswer(dialog, station, context, [&] {
            EXPECT_EQ(dialog.rowCount(), rows);
            EXPECT_EQ(visibleLabels(dialog), 3 * rows + 1);
            check();
            pressEsc(dialog);
        });
    };

    rowsShown(4, [&] {
        EXPECT_EQ(dialog.size(), QSize(220, 261));
        EXPECT_EQ(label(dialog, QStringLiteral("Labbrechen"))->y(), 241);
        EXPECT_EQ(label(dialog, QStringLiteral("Label12"))->text(), ansiToQString(kLink + "D l\xF6schen"));
    });
    rowsShown(40, [&] {
        // 40 rows would need 2421 pixels: they scroll inside the screen.
        EXPECT_LE(dialog.frameGeometry().height(), dialog.screen()->availableGeometry().height());
        const auto* rowsArea = dialog.findChild<QScrollArea*>();
        ASSERT_NE(rowsArea, nullptr);
        EXPECT_EQ(rowsArea->verticalScrollBar()->maximum() + rowsArea->viewport()->height(), 40 * 60);
        EXPECT_GE(rowsArea->viewport()->width(), 208);
        const ChoiceLabel* cancel = label(dialog, QStringLiteral("Labbrechen"));
        EXPECT_EQ(cancel->y() + cancel->height() + 3, dialog.height());
    });
    rowsShown(0, [&] { EXPECT_EQ(dialog.size(), QSize(220, 21)); });
}

TEST_F(LinkDialogTest, ClickOnAnEnabledLabelAnswersWithItsCodeAndCloses)
{
    addTwoLinksOnBit2();
    TF_PDauswahl dialog;
    struct Case {
        const char* clicked;
        int32_t answer;
        bool closes;
    };
    const std::vector<Case> cases{
        {"Label2", 4001, true},   {"Label3", 1001, true}, {"Label4", 2002, true},
        {"Labbrechen", 0, true}, {"Label1", 0, false},   {"Label6", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clicked);
        LinkDialogContext context = sourceBit2();
        context.result = 55; // what a previous answer left
        const int32_t answer = askAndAnswer(dialog, station, context, [&] {
            QTest::mouseClick(label(dialog, QLatin1String(c.clicked)), Qt::LeftButton);
            QApplication::processEvents();
            EXPECT_EQ(dialog.isVisible(), !c.closes);
            if (dialog.isVisible())
                pressEsc(dialog);
        });
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(context.result, c.answer);
    }
}

TEST_F(LinkDialogTest, HighlightsTheEnabledLabelUnderTheMouseAndOnlyWhileItIsThere)
{
    addTwoLinksOnBit2();
    TF_PDauswahl dialog;
    LinkDialogContext context = sourceBit2();
    const auto hover = [](ChoiceLabel* l) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(l, &enter);
    };
    const auto leave = [](ChoiceLabel* l) {
        QEvent event(QEvent::Leave);
        QApplication::sendEvent(l, &event);
    };
    const auto background = [](const ChoiceLabel* l) { return l->palette().color(QPalette::Window); };
    const auto text = [](const ChoiceLabel* l) { return l->palette().color(QPalette::Active, QPalette::WindowText); };
    const QColor face = dialog.palette().color(QPalette::Button);
    const QColor faceText = dialog.palette().color(QPalette::ButtonText);

    askAndAnswer(dialog, station, context, [&] {
        for (const char* name : {"Label2", "Labbrechen"}) {
            SCOPED_TRACE(name);
            ChoiceLabel* l = label(dialog, QLatin1String(name));
            EXPECT_EQ(background(l), face);
            hover(l);
            EXPECT_EQ(background(l), QColor(0, 0, 128));
            EXPECT_EQ(text(l), QColor(255, 251, 240));
            leave(l);
            EXPECT_EQ(background(l), face);
            EXPECT_EQ(text(l), faceText);
        }
        ChoiceLabel* disabled = label(dialog, QStringLiteral("Label1"));
        hover(disabled);
        EXPECT_EQ(background(disabled), face);
        // Chosen while highlighted: the next showing starts plain.
        ChoiceLabel* chosen = label(dialog, QStringLiteral("Label4"));
        hover(chosen);
        QTest::mouseClick(chosen, Qt::LeftButton);
    });
    askAndAnswer(dialog, station, context, [&] {
        EXPECT_EQ(background(label(dialog, QStringLiteral("Label4"))), face);
        pressEsc(dialog);
    });
}

TEST_F(LinkDialogTest, SpeaksTheChosenLanguageWhetherMadeBeforeOrAfterTheChoice)
{
    ResetLanguageTexts(programFolder(), "Kalmoria");
    SetFormTranslationHook(TranslateAllForms);
    addLink(3, 100, 2, 1, 7, 300, 0);
    LinkDialogContext context = sourceBit2();
    const auto captions = [&](TF_PDauswahl& dialog) {
        QStringList shown;
        askAndAnswer(dialog, station, context, [&] {
            for (const char* name : {"Label1", "Label2", "Label3", "Labbrechen"})
                shown << label(dialog, QLatin1String(name))->text();
            pressEsc(dialog);
        });
        return shown;
    };
    const QStringList english{QStringLiteral("Show link A"), QStringLiteral("Activate/deactivate link"),
                              QStringLiteral("Delete link"), QStringLiteral("cancel")};
    const QStringList german{ansiToQString(kLink + "A anzeigen"), ansiToQString("Verkn\xFCpfung aktiv/deaktiv"),
                             ansiToQString("Verkn\xFCpfung l\xF6schen"), QStringLiteral("abbrechen")};

    TF_PDauswahl madeBefore;
    ASSERT_TRUE(ActivateLanguage("KalmoriaEN.TXT"));
    TF_PDauswahl madeAfter;
    EXPECT_EQ(captions(madeBefore), english);
    EXPECT_EQ(captions(madeAfter), english);

    ASSERT_TRUE(ActivateLanguage(""));
    EXPECT_EQ(captions(madeBefore), german);
    EXPECT_EQ(captions(madeAfter), german);
}
