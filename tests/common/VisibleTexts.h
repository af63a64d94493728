#pragma once

#include "diag/AnsiText.h"
#include "widgets/StringGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

// Every text a user can read on `root` and its children, or hover over.
inline QStringList VisibleTexts(const QWidget& root)
{
    QStringList texts{root.windowTitle(), root.toolTip()};
    for (const QWidget* widget : root.findChildren<QWidget*>()) {
        texts << widget->toolTip() << widget->windowTitle();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            texts << button->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(widget))
            texts << group->title();
        if (const auto* tabs = qobject_cast<const QTabBar*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i) << tabs->tabToolTip(i);
        if (const auto* box = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        if (const auto* grid = qobject_cast<const StringGrid*>(widget))
            for (const auto& row : grid->rows())
                for (const std::string& cell : row)
                    texts << ansiToQString(cell);
    }
    for (const QAction* action : root.findChildren<QAction*>())
        texts << action->text() << action->toolTip() << action->statusTip();
    return texts;
}
