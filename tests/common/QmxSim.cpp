#include "tests/common/QmxSim.h"

#include "diag/ProgramFolder.h"

#include <QFile>

#include <csignal>
#include <cstdlib>
#include <iostream>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 10000; // generous: a loaded machine starts processes slowly
constexpr int kStopMs = 5000;
const QString kPaced = QStringLiteral("--paced");

} // namespace

std::string QmxSim::binDir()
{
    if (const char* dir = std::getenv("KALMORIA_BIN_DIR"); dir != nullptr && *dir != '\0')
        return dir;
    std::string folder = programFolder();
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

QmxSim::QmxSim(const std::string& imagePath, const QStringList& options)
{
    QStringList arguments;
    if (!imagePath.empty())
        arguments << QStringLiteral("--image") << QString::fromStdString(imagePath);
    if (!options.contains(kPaced))
        arguments << QStringLiteral("--no-pacing");
    for (const QString& option : options) {
        if (option != kPaced)
            arguments << option;
    }
    if (m_errors.open())
        m_process.setStandardErrorFile(m_errors.fileName());

    const pid_t parent = getpid();
    m_process.setChildProcessModifier([parent] {
        // The simulator gets SIGTERM when this process ends, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) // this process died before the line above
            _exit(1);
    });
    m_process.start(QString::fromStdString(binDir() + "/qmx-sim"), arguments);
    if (m_process.waitForStarted(kStartMs)) {
        while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
            m_process.waitForReadyRead(kStartMs);
        if (m_process.canReadLine())
            m_path = m_process.readLine().trimmed().toStdString();
    }
}

QmxSim::~QmxSim()
{
    stop();
    // What the simulator had to say belongs in the test's output.
    std::cerr << errorOutput() << std::flush;
}

int QmxSim::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate(); // SIGTERM to this child's pid
        if (!m_process.waitForFinished(kStopMs)) {
            m_process.kill();
            m_process.waitForFinished(kStopMs);
            return -1;
        }
    }
    return exitCode();
}

int QmxSim::exitCode()
{
    if (m_process.error() == QProcess::FailedToStart)
        return -1;
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kStopMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

std::string QmxSim::errorOutput() const
{
    QFile file(m_errors.fileName());
    if (m_errors.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}
