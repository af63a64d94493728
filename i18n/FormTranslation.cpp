#include "i18n/FormTranslation.h"

#include "diag/AnsiText.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"
#include "i18n/LanguageTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace {

constexpr char kTagProperty[] = "tag";
constexpr char kHelpKeywordProperty[] = "helpKeyword";
constexpr char kHelpContextProperty[] = "helpContext";
constexpr int kLowestTextNumber = -99;
constexpr int kHighestTextNumber = 199;

// How a component shows its caption and hint.
struct CaptionAccess {
    std::function<QString()> caption;
    std::function<void(const QString&)> setCaption;
    std::function<void(const QString&)> setHint;
    // An edit field's caption is its content, which translation leaves alone.
    bool keepsCaption = false;
};

// The tab widget that shows `page` as one of its tabs, if any.
QTabWidget* tabWidgetOf(QWidget* page)
{
    QWidget* stack = page->parentWidget();
    if (qobject_cast<QStackedWidget*>(stack) == nullptr)
        return nullptr;
    auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget());
    return tabs != nullptr && tabs->indexOf(page) >= 0 ? tabs : nullptr;
}

bool isForm(const QWidget* widget)
{
    return widget->isWindow() && qobject_cast<const QMenu*>(widget) == nullptr;
}

// Labels and buttons of every kind: the caption is their text.
template <typename Widget>
CaptionAccess textCaption(Widget* widget)
{
    return {[widget] { return widget->text(); }, [widget](const QString& t) { widget->setText(t); },
            [widget](const QString& t) { widget->setToolTip(t); }};
}

// The caption of the classes that have one, tested in the order of the
// designer's component classes; nothing for every other component.
std::optional<CaptionAccess> captionAccess(QObject* component)
{
    if (auto* label = qobject_cast<QLabel*>(component))
        return textCaption(label);
    if (auto* button = qobject_cast<QPushButton*>(component))
        return textCaption(button);
    if (auto* check = qobject_cast<QCheckBox*>(component))
        return textCaption(check);
    if (auto* group = qobject_cast<QGroupBox*>(component))
        return CaptionAccess{[group] { return group->title(); }, [group](const QString& t) { group->setTitle(t); },
                             [group](const QString& t) { group->setToolTip(t); }};
    if (auto* radio = qobject_cast<QRadioButton*>(component))
        return textCaption(radio);
    if (auto* edit = qobject_cast<QLineEdit*>(component)) {
        CaptionAccess caption = textCaption(edit);
        caption.keepsCaption = true;
        return caption;
    }
    if (auto* menu = qobject_cast<QMenu*>(component))
        return CaptionAccess{[menu] { return menu->title(); }, [menu](const QString& t) { menu->setTitle(t); },
                             [menu](const QString& t) {
                                 menu->menuAction()->setStatusTip(t);
                                 menu->menuAction()->setToolTip(t);
                             }};
    if (auto* widget = qobject_cast<QWidget*>(component); widget != nullptr && isForm(widget))
        return CaptionAccess{[widget] { return widget->windowTitle(); },
                             [widget](const QString& t) { widget->setWindowTitle(t); },
                             [widget](const QString& t) { widget->setToolTip(t); }};
    if (auto* action = qobject_cast<QAction*>(component))
        return CaptionAccess{[action] { return action->text(); }, [action](const QString& t) { action->setText(t); },
                             [action](const QString& t) {
                                 action->setStatusTip(t);
                                 action->setToolTip(t);
                             }};
    if (auto* tool = qobject_cast<QToolButton*>(component))
        return textCaption(tool);
    if (auto* page = qobject_cast<QWidget*>(component)) {
        if (QTabWidget* tabs = tabWidgetOf(page))
            return CaptionAccess{[tabs, page] { return tabs->tabText(tabs->indexOf(page)); },
                                 [tabs, page](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); },
                                 [tabs, page](const QString& t) { tabs->setTabToolTip(tabs->indexOf(page), t); }};
    }
    return std::nullopt;
}

// A text table: line 0 names the text number, lines 1.. are replaced.
void translateTextTable(QObject* component)
{
    QString content;
    auto* plain = qobject_cast<QPlainTextEdit*>(component);
    auto* rich = qobject_cast<QTextEdit*>(component);
    if (plain != nullptr)
        content = plain->toPlainText();
    else if (rich != nullptr)
        content = rich->toPlainText();
    else
        return;

    QStringList lines = content.split(QLatin1Char('\n'));
    if (lines.isEmpty() || !lines.first().startsWith(QLatin1Char('@')))
        return;
    const int n = ParseTextNumber(qStringToAnsi(lines.first()));
    if (n <= 0)
        return;
    for (qsizetype i = 1; i < lines.size(); ++i)
        lines[i] = ansiToQString(GetText(n, "-" + std::to_string(i)));
    const QString translated = lines.join(QLatin1Char('\n'));
    if (plain != nullptr)
        plain->setPlainText(translated);
    else
        rich->setPlainText(translated);
}

// Actions that stand for a submenu are translated through their QMenu.
bool isSubmenuEntry(QObject* object)
{
    auto* action = qobject_cast<QAction*>(object);
    return action != nullptr && action->menu() != nullptr;
}

// The form's own components carry names of ours; the objects Qt adds for
// itself have none, a "qt_" or "_" name, are layouts, or are the scroll
// buttons of a tab bar.
bool isOwnComponent(const QObject* component)
{
    const QString name = component->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name.startsWith(QLatin1Char('_')))
        return false;
    return qobject_cast<const QLayout*>(component) == nullptr
           && qobject_cast<const QTabBar*>(component->parent()) == nullptr;
}

class FormWalk {
public:
    explicit FormWalk(QWidget* form)
        : m_form(form)
    {
    }

    int translate()
    {
        visit(m_form);
        walkChildren(m_form);
        return m_count;
    }

private:
    void visit(QObject* component)
    {
        if (!m_seen.insert(component).second)
            return;
        if (isOwnComponent(component))
            ++m_count;
        TranslateComponent(component);
    }

    void walkChildren(QObject* parent)
    {
        for (QObject* child : parent->children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            // A dialog parented to this form is a form of its own, with its own section.
            if (widget != nullptr && isForm(widget))
                continue;
            if (auto* bar = qobject_cast<QToolBar*>(child)) {
                translateToolBar(bar);
                continue;
            }
            if (!isSubmenuEntry(child))
                visit(child);
            // Menu items may belong to another object but still be shown here.
            if (auto* menu = qobject_cast<QMenu*>(child)) {
                for (QAction* item : menu->actions()) {
                    if (!item->isSeparator() && !isSubmenuEntry(item))
                        visit(item);
                }
            }
            walkChildren(child);
        }
    }

    // The bar itself has no caption; its buttons do.
    void translateToolBar(QToolBar* bar)
    {
        const auto actions = bar->actions();
        const int buttons = static_cast<int>(std::count_if(actions.begin(), actions.end(), [bar](QAction* a) {
            return qobject_cast<QToolButton*>(bar->widgetForAction(a)) != nullptr;
        }));
        for (QAction* action : actions) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
            if (button == nullptr)
                continue;
            if (DebugBit(1))
                WriteErrLog(qStringToAnsi(bar->objectName()) + " Anz=" + IntToText(buttons) + " " +
                            qStringToAnsi(button->objectName()));
            visit(button);
        }
    }

    QWidget* m_form;
    std::set<QObject*> m_seen;
    int m_count = 0;
};

} // namespace

void TranslateComponent(QObject* component)
{
    if (component == nullptr)
        return;
    const std::optional<CaptionAccess> caption = captionAccess(component);
    if (!caption) {
        translateTextTable(component);
        return;
    }

    const std::string current = qStringToAnsi(caption->caption());
    const int n = current.size() >= 2 && current[0] == '@' ? ParseTextNumber(current)
                                                           : component->property(kTagProperty).toInt();
    if (n == 0 || n < kLowestTextNumber || n > kHighestTextNumber)
        return;
    // The caption is about to lose its "@NN": keep the number for the next language.
    component->setProperty(kTagProperty, n);

    const std::string hint = GetText(n, "H");
    if (!hint.empty() && hint[0] != '@')
        caption->setHint(ansiToQString(hint));
    const std::string text = GetText(n, std::string());
    if (!caption->keepsCaption)
        caption->setCaption(ansiToQString(text));
}

void TranslateForm(QWidget* form)
{
    if (form == nullptr)
        return;
    const std::string formName = qStringToAnsi(form->objectName());
    SetTextSection(formName);
    const int missingBefore = MissingTextCount();
    const int components = FormWalk(form).translate();

    // Help lookups go by keyword: a form without a topic of its own is its own topic.
    if (form->property(kHelpContextProperty).toInt() == 0 &&
        form->property(kHelpKeywordProperty).toString().isEmpty())
        form->setProperty(kHelpKeywordProperty, form->objectName());

    if (DebugBit(1))
        WriteErrLog("  Text_AktualisiereForm (" + IntToText(MissingTextCount() - missingBefore) + " Fehler) " +
                    formName + " Komponentenzahl=" + IntToText(components));
}

void TranslateAllForms()
{
    std::vector<QWidget*> forms;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        const Qt::WindowType type = widget->windowType();
        if (!isForm(widget) || (type != Qt::Window && type != Qt::Dialog))
            continue;
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        forms.push_back(widget);
    }
    // The main window last: its section is the one other code expects afterwards.
    std::sort(forms.begin(), forms.end(), [](QWidget* a, QWidget* b) {
        const bool aMain = qobject_cast<QMainWindow*>(a) != nullptr;
        const bool bMain = qobject_cast<QMainWindow*>(b) != nullptr;
        if (aMain != bMain)
            return bMain;
        return a->objectName() < b->objectName();
    });
    for (QWidget* form : forms)
        TranslateForm(form);
}
