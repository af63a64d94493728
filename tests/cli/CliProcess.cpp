#include "tests/cli/CliProcess.h"
#include "transports/LineFactory.h"

#include "transports/ComPortMap.h"
#include "protocol/DeviceRegisters.h"
#include "protocol/Tvep.h"
#include "tests/common/QmxSim.h"

#include <QProcess>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kRunMs = 60000; // generous: a loaded machine is slow, and no test waits on time

// A pseudo-terminal for the child's standard input; the test types on its master.
class InputTerminal {
public:
    InputTerminal()
        : m_master(posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_slavePath = ptsname(m_master);
    }
    ~InputTerminal()
    {
        if (m_master >= 0)
            close(m_master);
    }
    InputTerminal(const InputTerminal&) = delete;
    InputTerminal& operator=(const InputTerminal&) = delete;

    const std::string& slavePath() const { return m_slavePath; }
    void type(const std::string& text) const
    {
        if (!text.empty() && ::write(m_master, text.data(), text.size()) < 0)
            return;
    }

private:
    int m_master;
    std::string m_slavePath;
};

} // namespace

std::vector<std::string> CliProcess::Result::errorLines() const
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < err.size()) {
        const std::size_t end = err.find('\n', start);
        lines.push_back(err.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? err.size() : end + 1;
    }
    return lines;
}

CliProcess::Result CliProcess::run(const QStringList& arguments, Input input, const std::string& answer) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(m_config.path()));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(dataHome()));
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
        environment.remove(QLatin1String(variable));
    for (const auto& [variable, value] : locale)
        environment.insert(variable, value);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(QString::fromStdString(files.path()));

    InputTerminal terminal;
    const std::string slave = input == Input::Terminal ? terminal.slavePath() : std::string();
    const rlim_t limit = static_cast<rlim_t>(fileSizeLimit);
    process.setChildProcessModifier([slave, limit] {
        if (!slave.empty()) {
            const int fd = open(slave.c_str(), O_RDWR);
            if (fd >= 0)
                dup2(fd, STDIN_FILENO);
        }
        if (limit > 0) {
            const rlimit fileSize{limit, limit};
            setrlimit(RLIMIT_FSIZE, &fileSize);
        }
    });
    if (input == Input::Terminal)
        terminal.type(answer);
    process.start(QString::fromStdString(program.empty() ? QmxSim::binDir() + "/kalmoria-cli" : program), arguments);
    if (input == Input::Closed)
        process.closeWriteChannel();
    if (whileRunning && process.waitForStarted(kRunMs))
        whileRunning(process.processId());

    Result result;
    if (!process.waitForFinished(kRunMs))
        process.kill();
    process.waitForFinished(kRunMs);
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    if (process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart)
        result.exitCode = process.exitCode();
    return result;
}

std::vector<uint16_t> ReadLinkArea(const std::string& path)
{
    namespace R = DeviceRegisters;
    OverrideComPorts({path});
    std::vector<uint16_t> words(R::LinkAreaCount);
    Tvep vep{SystemLines()};
    int32_t result = Tvep::ErrPortClosed;
    if (vep.OpenPort(1, 9600, 'n')) {
        vep.SetTimeouts(500, 50);
        result = vep.Transfer(0, 0, {}, R::LinkArea, R::LinkAreaCount, words, true);
        vep.ClosePort();
    }
    OverrideComPorts({});
    return result == Tvep::Ok ? words : std::vector<uint16_t>{};
}

StationBuilder cliStation()
{
    return StationBuilder()
        .Type(0x0900)
        .Serial(4242)
        .Address(30)
        .Module(7, 1, {}, "Hochbeh\xE4lter")
        .Module(12, 4, {.srcBits = 16, .srcRegs = 8, .dstBits = 16, .dstRegs = 8}, "Pumpwerk S\xFC" "d");
}
