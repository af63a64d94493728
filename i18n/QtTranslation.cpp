#include "i18n/QtTranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <algorithm>

namespace {

QPointer<QTranslator> g_installed;

// A code from a language file becomes part of a file name: letters and "_"
// (as in "pt_BR") only.
bool isLanguageCode(const QString& code)
{
    return !code.isEmpty() && std::all_of(code.begin(), code.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
    });
}

} // namespace

void InstallQtTranslation(const std::string& kursSprache)
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr)
        return;
    if (g_installed) {
        QCoreApplication::removeTranslator(g_installed);
        delete g_installed;
    }

    const QString code = QString::fromLatin1(kursSprache).trimmed().toLower();
    if (!isLanguageCode(code))
        return;
    const QString file = QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath)).filePath(
        QStringLiteral("qtbase_") + code + QStringLiteral(".qm"));
    // QTranslator would fall back to shorter names ("qtbase.qm"); only the
    // language asked for will do.
    if (!QFileInfo::exists(file))
        return;
    auto* translator = new QTranslator(application);
    if (!translator->load(file) || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return;
    }
    g_installed = translator;
}
