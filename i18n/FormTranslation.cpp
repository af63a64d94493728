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
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <set>

namespace {

constexpr char kTagProperty[] = "tag";
constexpr char kHelpKeywordProperty[] = "helpKeyword";
constexpr char kHelpContextProperty[] = "helpContext";
constexpr int kLowestTextNumber = -99;
constexpr int kHighestTextNumber = 199;

// How a component shows its caption and hint.
class CaptionAccess {
public:
    virtual ~CaptionAccess() = default;
    virtual QString caption() const = 0;
    virtual void setCaption(const QString& text) = 0;
    virtual void setHint(const QString& text) = 0;
    // An edit field's caption is its content, which translation leaves alone.
    virtual bool keepsCaption() const { return false; }
};

template <typename Get, typename Set, typename Hint>
class Access final : public CaptionAccess {
public:
    Access(Get get, Set set, Hint hint, bool keep = false)
        : m_get(get)
        , m_set(set)
        , m_hint(hint)
        , m_keep(keep)
    {
    }
    QString caption() const override { return m_get(); }
    void setCaption(const QString& text) override { m_set(text); }
    void setHint(const QString& text) override { m_hint(text); }
    bool keepsCaption() const override { return m_keep; }

private:
    Get m_get;
    Set m_set;
    Hint m_hint;
    bool m_keep;
};

template <typename Get, typename Set, typename Hint>
std::unique_ptr<CaptionAccess> access(Get get, Set set, Hint hint, bool keep = false)
{
    return std::make_unique<Access<Get, Set, Hint>>(get, set, hint, keep);
}

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

// The caption of the classes that have one, tested in the order of the
// designer's component classes; nullptr for every other component.
std::unique_ptr<CaptionAccess> captionAccess(QObject* component)
{
    const auto toolTip = [](QWidget* w) { return [w](const QString& t) { w->setToolTip(t); }; };
    if (auto* label = qobject_cast<QLabel*>(component))
        return access([label] { return label->text(); }, [label](const QString& t) { label->setText(t); },
                      toolTip(label));
    if (auto* button = qobject_cast<QPushButton*>(component))
        return access([button] { return button->text(); }, [button](const QString& t) { button->setText(t); },
                      toolTip(button));
    if (auto* check = qobject_cast<QCheckBox*>(component))
        return access([check] { return check->text(); }, [check](const QString& t) { check->setText(t); },
                      toolTip(check));
    if (auto* group = qobject_cast<QGroupBox*>(component))
        return access([group] { return group->title(); }, [group](const QString& t) { group->setTitle(t); },
                      toolTip(group));
    if (auto* radio = qobject_cast<QRadioButton*>(component))
        return access([radio] { return radio->text(); }, [radio](const QString& t) { radio->setText(t); },
                      toolTip(radio));
    if (auto* edit = qobject_cast<QLineEdit*>(component))
        return access([edit] { return edit->text(); }, [](const QString&) {}, toolTip(edit), true);
    if (auto* menu = qobject_cast<QMenu*>(component))
        return access([menu] { return menu->title(); }, [menu](const QString& t) { menu->setTitle(t); },
                      [menu](const QString& t) {
                          menu->menuAction()->setStatusTip(t);
                          menu->menuAction()->setToolTip(t);
                      });
    if (auto* widget = qobject_cast<QWidget*>(component); widget != nullptr && isForm(widget))
        return access([widget] { return widget->windowTitle(); },
                      [widget](const QString& t) { widget->setWindowTitle(t); }, toolTip(widget));
    if (auto* action = qobject_cast<QAction*>(component))
        return access([action] { return action->text(); }, [action](const QString& t) { action->setText(t); },
                      [action](const QString& t) {
                          action->setStatusTip(t);
                          action->setToolTip(t);
                      });
    if (auto* tool = qobject_cast<QToolButton*>(component))
        return access([tool] { return tool->text(); }, [tool](const QString& t) { tool->setText(t); },
                      toolTip(tool));
    if (auto* page = qobject_cast<QWidget*>(component)) {
        if (QTabWidget* tabs = tabWidgetOf(page))
            return access([tabs, page] { return tabs->tabText(tabs->indexOf(page)); },
                          [tabs, page](const QString& t) { tabs->setTabText(tabs->indexOf(page), t); },
                          [tabs, page](const QString& t) { tabs->setTabToolTip(tabs->indexOf(page), t); });
    }
    return nullptr;
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
    const std::unique_ptr<CaptionAccess> caption = captionAccess(component);
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
    if (!caption->keepsCaption())
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
