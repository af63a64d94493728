#include "i18n/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `answer` on the box as soon as it is up, then shows it.
int showAndAnswer(const MessageBoxRequest& request, std::function<void(QMessageBox&)> answer)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            poll.stop();
            answer(*box);
        }
    });
    poll.start();
    return ShowQtMessageBox(request);
}

struct BoxCase {
    int kind;
    int buttons;
    int defaultButton;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton expectedDefault;
    QMessageBox::StandardButton click;
    int result;
};

} // namespace

TEST(QtMessageBox, KindButtonsAndDefaultGiveIconButtonsAndResultCodes)
{
    const std::vector<BoxCase> cases{
        {mbWarning, mbOk, 0, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok, idOk},
        {mbError, mbOkCancel, 2, QMessageBox::Critical, QMessageBox::Cancel, QMessageBox::Cancel, idCancel},
        {mbInformation, mbYesNo, 0, QMessageBox::Information, QMessageBox::Yes, QMessageBox::No, idNo},
        {mbQuestion, mbYesNoCancel, 3, QMessageBox::Question, QMessageBox::Cancel, QMessageBox::Yes, idYes},
        {mbPlain, mbRetryCancel, 0, QMessageBox::NoIcon, QMessageBox::Retry, QMessageBox::Retry, idRetry},
        {mbPlain, mbAbortRetryIgnore, 2, QMessageBox::NoIcon, QMessageBox::Retry, QMessageBox::Abort, idAbort},
        {mbPlain, mbAbortRetryIgnore, 3, QMessageBox::NoIcon, QMessageBox::Ignore, QMessageBox::Ignore, idIgnore},
        // A default beyond the last button, or an unknown buttons code, gives the first.
        {mbPlain, mbOkCancel, 4, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, idOk},
        {mbPlain, 999, 0, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok, idOk},
    };
    for (const BoxCase& c : cases) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        const int result = showAndAnswer({"Titel", "Text", c.kind, c.buttons, c.defaultButton}, [&](QMessageBox& box) {
            icon = box.icon();
            defaultButton = box.standardButton(box.defaultButton());
            box.button(c.click)->click();
        });
        EXPECT_EQ(icon, c.icon) << c.kind << "/" << c.buttons;
        EXPECT_EQ(result, c.result) << c.kind << "/" << c.buttons;
        EXPECT_EQ(defaultButton, c.expectedDefault) << c.kind << "/" << c.buttons;
    }
}

TEST(QtMessageBox, ButtonOrderTitleTextAndEscape)
{
    QString title;
    QString text;
    QStringList order;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    const int result = showAndAnswer({"Frage \xFC", "Zeile 1\rZeile 2", mbQuestion, mbYesNoCancel, 2},
                                     [&](QMessageBox& box) {
                                         title = box.windowTitle();
                                         text = box.text();
                                         defaultButton = box.standardButton(box.defaultButton());
                                         QTest::keyClick(&box, Qt::Key_Escape);
                                     });
    EXPECT_EQ(title, QString::fromUtf8("Frage \xC3\xBC"));
    EXPECT_EQ(text, QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(defaultButton, QMessageBox::No);
    EXPECT_EQ(result, idCancel);
}
