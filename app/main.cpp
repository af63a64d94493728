#include "app/FileNameChooser.h"
#include "app/MainWindow.h"
#include "app/ProgramStart.h"
#include "app/TerminationSignals.h"
#include "diag/ErrLog.h"
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
        SetMessageBoxPresenter(ShowQtMessageBox);
        SetFileNameChooser(ShowQtFileDialog);
        const TerminationSignals endOnSignal;
        TF_Kalmoria_main mainWindow;
        mainWindow.show();
        if (!TerminationSignals::requested())
            exitCode = QApplication::exec();
    }
    ErrLogShutdown(exitCode);
    return exitCode;
}
