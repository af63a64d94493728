#include "app/FileNameChooser.h"
#include "app/MainWindow.h"
#include "app/TerminationSignals.h"
#include "diag/ErrLog.h"
#include "i18n/QtMessageBox.h"

#include <QApplication>

int main(int argc, char** argv)
{
    ErrLogStartup();
    int exitCode = 0;
    {
        QApplication app(argc, argv);
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
