#include "tests/sim/SimProcess.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdlib>
#include <sys/prctl.h>

namespace {
constexpr int kStartMs = 10000;
constexpr int kStopMs = 5000;
} // namespace

QString SimProcess::binary()
{
    const char* dir = std::getenv("KALMORIA_BIN_DIR");
    return (dir ? QString::fromLocal8Bit(dir) : QCoreApplication::applicationDirPath()) + "/qmx-sim";
}

SimProcess::SimProcess(const QStringList& args)
{
    // A test that dies must not leave simulators behind.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.start(binary(), args);
    if (!m_process.waitForStarted(kStartMs))
        return;
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running)
        m_process.waitForReadyRead(kStartMs);
    if (m_process.canReadLine())
        m_path = m_process.readLine().trimmed().toStdString();
}

SimProcess::~SimProcess()
{
    stop();
}

int SimProcess::stop()
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

int SimProcess::exitCode()
{
    if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(kStopMs))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}
