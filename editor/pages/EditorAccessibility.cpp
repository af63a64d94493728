#include "editor/pages/EditorAccessibility.h"

#include "editor/pages/ChoiceLabel.h"
#include "editor/pages/EditorCell.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

QAccessible::Role roleOf(EditorCell::Kind kind)
{
    switch (kind) {
    case EditorCell::Kind::Bit:
        return QAccessible::Cell;
    case EditorCell::Kind::RegisterLabel:
        return QAccessible::RowHeader;
    case EditorCell::Kind::ColumnHeader:
        break;
    }
    return QAccessible::ColumnHeader;
}

class EditorCellAccessible : public QAccessibleWidget {
public:
    explicit EditorCellAccessible(EditorCell* cell)
        : QAccessibleWidget(cell, roleOf(cell->kind()))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return cell()->spoken().name;
        case QAccessible::Description:
            return cell()->spoken().description;
        default:
            return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (cell()->kind() != EditorCell::Kind::ColumnHeader) {
            state.focusable = true;
            state.focused = cell()->hasKeyFocus();
        }
        return state;
    }

    // A press is a left click, the menu a click of another button: the same
    // ways in as the mouse's.
    QStringList actionNames() const override
    {
        switch (cell()->kind()) {
        case EditorCell::Kind::Bit:
            return {pressAction(), showMenuAction()};
        case EditorCell::Kind::RegisterLabel:
            return {pressAction()};
        case EditorCell::Kind::ColumnHeader:
            break;
        }
        return {};
    }

    void doAction(const QString& action) override
    {
        if (!actionNames().contains(action))
            return;
        emit cell()->released(action == showMenuAction() ? Qt::RightButton : Qt::LeftButton);
    }

private:
    EditorCell* cell() const { return static_cast<EditorCell*>(widget()); }
};

class ChoiceAccessible : public QAccessibleWidget {
public:
    explicit ChoiceAccessible(ChoiceLabel* choice)
        : QAccessibleWidget(choice, QAccessible::MenuItem)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && choice()->accessibleName().isEmpty())
            return choice()->text();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = choice()->isEnabled();
        state.focused = choice()->isKeyChoice();
        return state;
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            choice()->choose();
    }

private:
    ChoiceLabel* choice() const { return static_cast<ChoiceLabel*>(widget()); }
};

QAccessibleInterface* editorAccessible(const QString& /*className*/, QObject* object)
{
    if (auto* cell = qobject_cast<EditorCell*>(object))
        return new EditorCellAccessible(cell);
    if (auto* choice = qobject_cast<ChoiceLabel*>(object))
        return new ChoiceAccessible(choice);
    return nullptr;
}

} // namespace

void InstallEditorAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(editorAccessible);
        return true;
    }();
    (void)installed;
}

void AnnounceKeyFocus(QWidget* widget)
{
    if (widget == nullptr || !QAccessible::isActive())
        return;
    QAccessibleEvent focus(widget, QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}
