#include "tests/common/QmxSim.h"

#include "diag/ProgramFolder.h"

#include <cstdlib>

std::string QmxSim::binDir()
{
    if (const char* dir = std::getenv("KALMORIA_BIN_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    return programFolder();
}

QmxSim::QmxSim(const std::string& imagePath, const QStringList& options)
{
    QStringList arguments{QStringLiteral("--image"), QString::fromStdString(imagePath)};
    if (!options.contains(QStringLiteral("--paced")))
        arguments << QStringLiteral("--no-pacing");
    for (const QString& option : options) {
        if (option != QStringLiteral("--paced"))
            arguments << option;
    }
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QString::fromStdString(binDir() + "/qmx-sim"), arguments);
    if (!m_process.waitForStarted(5000))
        return;
    while (!m_process.canReadLine()) {
        if (!m_process.waitForReadyRead(5000))
            return;
    }
    m_path = m_process.readLine().trimmed().toStdString();
}

QmxSim::~QmxSim()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000))
        m_process.kill();
    m_process.waitForFinished(1000);
}
