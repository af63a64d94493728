#include "i18n/QtMessageBox.h"

#include "diag/AnsiText.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace {

using ButtonRow = std::vector<std::pair<QMessageBox::StandardButton, int>>;

// The buttons of a buttons code, left to right, with the result code of each.
ButtonRow buttonsFor(int buttons)
{
    switch (buttons) {
    case mbOkCancel:
        return {{QMessageBox::Ok, idOk}, {QMessageBox::Cancel, idCancel}};
    case mbYesNo:
        return {{QMessageBox::Yes, idYes}, {QMessageBox::No, idNo}};
    case mbYesNoCancel:
        return {{QMessageBox::Yes, idYes}, {QMessageBox::No, idNo}, {QMessageBox::Cancel, idCancel}};
    case mbRetryCancel:
        return {{QMessageBox::Retry, idRetry}, {QMessageBox::Cancel, idCancel}};
    case mbSaveDiscardCancel:
        return {{QMessageBox::Save, idYes}, {QMessageBox::Discard, idNo}, {QMessageBox::Cancel, idCancel}};
    case mbAbortRetryIgnore:
        return {{QMessageBox::Abort, idAbort}, {QMessageBox::Retry, idRetry}, {QMessageBox::Ignore, idIgnore}};
    default:
        return {{QMessageBox::Ok, idOk}};
    }
}

QMessageBox::Icon iconFor(int kind)
{
    switch (kind) {
    case mbWarning:
        return QMessageBox::Warning;
    case mbError:
        return QMessageBox::Critical;
    case mbInformation:
        return QMessageBox::Information;
    case mbQuestion:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

// Message texts break lines with a bare CR, as Windows message boxes do.
QString boxText(const std::string& text)
{
    QString result = ansiToQString(text);
    result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return result;
}

} // namespace

int ShowQtMessageBox(const MessageBoxRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(iconFor(request.kind));
    box.setWindowTitle(request.title.empty() ? QApplication::applicationName() : ansiToQString(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(boxText(request.text));

    const ButtonRow row = buttonsFor(request.buttons);
    std::vector<QAbstractButton*> created;
    for (const auto& [standard, result] : row) {
        created.push_back(box.addButton(standard));
        if (result == idCancel)
            box.setEscapeButton(created.back());
    }
    std::size_t defaultIndex = 0;
    if (request.defaultButton >= 2 && request.defaultButton <= 4)
        defaultIndex = static_cast<std::size_t>(request.defaultButton - 1);
    // A default beyond the last button falls back to the first.
    if (defaultIndex >= created.size())
        defaultIndex = 0;
    if (auto* push = qobject_cast<QPushButton*>(created[defaultIndex]))
        box.setDefaultButton(push);

    box.exec();
    for (std::size_t i = 0; i < created.size(); ++i) {
        if (box.clickedButton() == created[i])
            return row[i].second;
    }
    return idCancel;
}
