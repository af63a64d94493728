#include "app/InputBlocker.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

TEST(InputBlocker, ClicksAndKeysWhileASequenceRunsAreDroppedNotQueued)
{
    QPushButton button(QStringLiteral("@18LadenQMX"));
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&clicks] { ++clicks; });

    std::optional<InputBlocker> sequenceRunning(std::in_place);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::keyClick(&button, Qt::Key_Space);
    QCoreApplication::processEvents();
    sequenceRunning.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);

    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST(InputBlocker, AMessageBoxTheSequenceOpensCanStillBeAnswered)
{
    const InputBlocker sequenceRunning;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Kalmoria"), QStringLiteral("@20"), QMessageBox::Ok);
    QTimer::singleShot(0, &box, [&box] {
        QTest::keyClick(&box, Qt::Key_Return);
    });
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, &box, [&box] { box.hide(); });
    watchdog.start(5000);

    EXPECT_EQ(box.exec(), QMessageBox::Ok);
}
