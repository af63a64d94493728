#include "i18n/TextTable.h"

#include "diag/AnsiText.h"

#include <QPlainTextEdit>
#include <QTextBlock>

QPlainTextEdit* CreateTextTable(QWidget* parent, const char* name, const QStringList& lines)
{
    auto* table = new QPlainTextEdit(parent);
    table->setObjectName(QLatin1String(name));
    table->setPlainText(lines.join(QLatin1Char('\n')));
    table->hide();
    return table;
}

std::string TextTableLine(const QPlainTextEdit* table, int i)
{
    const QString line = table->document()->findBlockByNumber(i).text();
    const QString prefix = QString::number(i) + QLatin1Char('=');
    return qStringToAnsi(line.startsWith(prefix) ? line.mid(prefix.size()) : line);
}
