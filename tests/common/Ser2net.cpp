#include "tests/common/Ser2net.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <iostream>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 10000; // generous: a loaded machine starts processes slowly
constexpr int kStopMs = 5000;

// Binds 127.0.0.1:`port` (0: any free one) without listening; the port got,
// 0 when it is taken.
uint16_t bindLocal(uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    uint16_t got = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        got = ntohs(address.sin_port);
    ::close(fd);
    return got;
}

} // namespace

std::string Ser2net::program()
{
    for (const char* candidate : {"/usr/sbin/ser2net", "/usr/bin/ser2net"}) {
        if (::access(candidate, X_OK) == 0)
            return candidate;
    }
    return QStandardPaths::findExecutable(QStringLiteral("ser2net")).toStdString();
}

uint16_t Ser2net::freePort()
{
    return bindLocal(0);
}

Ser2net::Ser2net(const std::string& devicePath, Mode mode)
    : m_mode(mode)
{
    const std::string ser2net = program();
    if (ser2net.empty() || devicePath.empty())
        return;
    // A port that another test takes between the asking and the start makes
    // ser2net fail; then the next free one is tried.
    for (int attempt = 0; attempt < 5 && !m_ready; ++attempt) {
        m_port = freePort();
        const std::string accepter =
            std::string(mode == Mode::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp") + ",127.0.0.1," + std::to_string(m_port);
        m_folder.write("ser2net.yaml", "%YAML 1.1\n---\n"
                                       "connection: &kalmoria\n"
                                       "    accepter: " + accepter + "\n"
                                       "    connector: serialdev," + devicePath + ",9600n81,local\n"
                                       "    options:\n"
                                       "        mdns: false\n");
        if (!m_errors.isOpen() && m_errors.open())
            m_process.setStandardErrorFile(m_errors.fileName(), QIODevice::Append);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        const pid_t parent = getpid();
        m_process.setChildProcessModifier([parent] {
            // ser2net gets SIGTERM when this process ends, however it ends.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (getppid() != parent)
                _exit(1);
        });
        // -n: stay in the foreground; -d: no daemon, messages to standard error.
        m_process.start(QString::fromStdString(ser2net),
                        {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-c"),
                         QString::fromStdString(m_folder.file("ser2net.yaml"))});
        if (!m_process.waitForStarted(kStartMs))
            return;
        // Listening is seen without a connection (which would open the device):
        // the port can no longer be bound.
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartMs);
        while (m_process.state() == QProcess::Running && std::chrono::steady_clock::now() < end) {
            if (bindLocal(m_port) == 0) {
                m_ready = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!m_ready)
            stop();
    }
}

Ser2net::~Ser2net()
{
    stop();
    // What the server had to say belongs in the test's output.
    std::cerr << errorOutput() << std::flush;
}

std::string Ser2net::address() const
{
    return std::string(m_mode == Mode::Rfc2217 ? "rfc2217" : "tcp") + "://127.0.0.1:" + std::to_string(m_port);
}

void Ser2net::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopMs)) {
        m_process.kill();
        m_process.waitForFinished(kStopMs);
    }
}

std::string Ser2net::errorOutput() const
{
    QFile file(m_errors.fileName());
    if (m_errors.fileName().isEmpty() || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

SimBehindSer2net::SimBehindSer2net(const std::string& imagePath, Ser2net::Mode mode, const QStringList& simOptions)
    : m_sim(std::make_unique<QmxSim>(imagePath, simOptions))
    , m_server(std::make_unique<Ser2net>(m_sim->path(), mode))
{
}
