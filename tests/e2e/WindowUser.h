#pragma once

#include "app/MainWindow.h"
#include "editor/pages/ChoiceLabel.h"
#include "editor/pages/TF_PDauswahl.h"
#include "tests/common/ModalScript.h"
#include "tests/common/DeviceTestBench.h"

#include <QComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

// The user at the real main window: tool buttons, tabs, boxes, cells, the link dialog.
class WindowUser : public DeviceTestBench {
protected:
    template <typename T>
    T* child(const QString& name) const
    {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    void press(const char* toolButton) { QTest::mouseClick(child<QToolButton>(QLatin1String(toolButton)), Qt::LeftButton); }

    void openEditor()
    {
        auto* tabs = child<QTabWidget>(QStringLiteral("TabSheet"))->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    }

    void choose(const char* boxName, int index)
    {
        auto* box = child<QComboBox>(QLatin1String(boxName));
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    void click(const QString& name, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(child<QWidget>(name), button);
    }
    void clickCell(int n, Qt::MouseButton button = Qt::LeftButton) { click(QStringLiteral("StaticText%1").arg(n), button); }

    // Right-clicks cell n and picks the dialog's label `choice`.
    void linkAction(int n, const char* choice)
    {
        auto* dialog = window->findChild<TF_PDauswahl*>();
        ASSERT_NE(dialog, nullptr);
        WhileModal(
            *dialog, [&] { clickCell(n, Qt::RightButton); },
            [&] { QTest::mouseClick(dialog->findChild<ChoiceLabel*>(QLatin1String(choice)), Qt::LeftButton); });
    }

    // The station the window shows; the bench's own is not used here.
    Station& station() { return window->station(); }

    std::unique_ptr<TF_Kalmoria_main> window;
};
