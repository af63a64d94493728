#include "diag/ProgramFolder.h"
#include "i18n/LanguageTexts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    // CTest lists the tests by running this binary, where no display may exist.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // No test may read or change the user's own settings file or snapshots.
    const QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", configHome.filePath(QStringLiteral("data")).toLocal8Bit());
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Test binaries sit beside the program: they read its own language files.
    ResetLanguageTexts(programFolder(), "Kalmoria");
    return RUN_ALL_TESTS();
}
