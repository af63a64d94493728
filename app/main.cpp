#include "app/FileNameChooser.h"
#include "app/MainWindow.h"
#include "app/ProgramStart.h"
#include "app/TerminationSignals.h"
#include "diag/ErrLog.h"
#include "editor/pages/LinkPlanDialog.h"
#include "i18n/LanguageTexts.h"
#include "i18n/QtMessageBox.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    if (const std::optional<int> endedEarly = EndBeforeWindow(argc, argv))
        return *endedEarly;
    // A size limit on files (ulimit -f) fails a save with a message, instead
    // of ending the program and the links with it.
    std::signal(SIGXFSZ, SIG_IGN);
    ErrLogStartup();
    int exitCode = 0;
    {
        const std::unique_ptr<QApplication> app = OpenDesktop(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Kalmoria"));
        // A Wayland desktop knows the window's icon and name only by its desktop entry.
        QApplication::setDesktopFileName(QStringLiteral("kalmoria"));
        SetMessageBoxPresenter(ShowQtMessageBox);
        SetFileNameChooser(ShowQtFileDialog);
        SetPlanFileChooser(ShowQtPlanFileDialog);
        const TerminationSignals endOnSignal;
        TF_Kalmoria_main mainWindow;
        // The window first: the search shows itself in the status bar.
        mainWindow.show();
        mainWindow.StartUpSearch();
        if (!TerminationSignals::requested())
            exitCode = QApplication::exec();
    }
    ErrLogShutdown(exitCode);
    return exitCode;
}
