#include "transports/TTavorobject.h"

#include "io/Descriptor.h"

#include "transports/LineLock.h"
#include "transports/PortAccess.h"
#include "diag/AnsiText.h"
#include "diag/ErrLog.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A request is handed to the driver as a whole; this only guards against a
// line that takes nothing at all (a peer that never reads).
constexpr int WriteGraceMs = 1000;

QSerialPort::Parity qtParity(char parity)
{
    switch (parity) {
    case 'e':
    case 'E':
        return QSerialPort::EvenParity;
    case 'o':
    case 'O':
        return QSerialPort::OddParity;
    default:
        return QSerialPort::NoParity;
    }
}


// Qt's word for a device file the system would not open, as its own open
// would have given it.
QSerialPort::SerialPortError qtOpenError(int error)
{
    switch (error) {
    case ENOENT: return QSerialPort::DeviceNotFoundError;
    case EACCES:
    case EPERM:
    case EBUSY: return QSerialPort::PermissionError;
    default: return QSerialPort::OpenError;
    }
}

// The name under which Qt opens the device behind `fd` again. Qt names a
// port by text, and a device file's name is bytes that need not be UTF-8
// (the serial number of a USB adapter in /dev/serial/by-id): text made of
// such a name leads to another file, or to none. The name the system gives
// the device itself (/dev/ttyUSB0, /dev/pts/3) is plain text, and gives Qt's
// lock file the same name whichever link led to the device; only a device
// whose own name is no text is reached through our descriptor.
QString nameForQt(int fd)
{
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof target) {
        const QByteArray bytes(target, length);
        const QString name = QFile::decodeName(bytes);
        if (bytes.startsWith('/') && QFile::encodeName(name) == bytes)
            return name;
    }
    return QString::fromStdString(link);
}

bool sameFile(int first, int second)
{
    struct stat a {};
    struct stat b {};
    return ::fstat(first, &a) == 0 && ::fstat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino
           && a.st_rdev == b.st_rdev;
}

} // namespace

TTavorobject::TTavorobject() = default;

TTavorobject::~TTavorobject()
{
    ClosePort();
}

bool TTavorobject::openLine(const std::string& path)
{
    if (path.empty()) {
        // The port table names no device file for this number.
        OpenProblem.reason = std::strerror(ENODEV);
        return false;
    }

    const auto failed = [&](const PortOpenProblem& problem) {
        OpenProblem = problem;
        if (DebugFlag())
            WriteErrLog("OpenPort: " + fileNameToAnsi(path) + ": " + problem.reason);
        return false;
    };
    // The device file is opened by its very bytes; Qt then opens the device
    // this descriptor holds, and nothing else.
    const Descriptor device(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (device.get() < 0) {
        const int openError = errno;
        return failed(DiagnoseFailedOpen(path, qtOpenError(openError), std::strerror(openError)));
    }
    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(nameForQt(device.get()));
    // Qt keeps a lock file per port, which a second object here or a second
    // Kalmoria respects; the line's own lock keeps out the other programs.
    if (!serial->open(QIODevice::ReadWrite))
        return failed(DiagnoseFailedOpen(path, serial->error(), serial->errorString().toStdString()));
    if (!sameFile(device.get(), static_cast<int>(serial->handle()))) {
        // The adapter went and another took its name in between.
        return failed(DiagnoseFailedOpen(path, QSerialPort::DeviceNotFoundError, std::strerror(ENODEV)));
    }
    if (!LockLine(static_cast<int>(serial->handle()))) {
        const int lockError = errno;
        return failed(DiagnoseHeldLine(path, std::strerror(lockError)));
    }

    Handle = std::move(serial);
    // As with the driver calls these stand for, a setting the line refuses
    // is not fatal: the device answers or it does not.
    Handle->setBaudRate(Baud);
    Handle->setDataBits(QSerialPort::Data8);
    Handle->setParity(qtParity(Dcb.Parity));
    Handle->setStopBits(QSerialPort::OneStop);
    Handle->setFlowControl(QSerialPort::NoFlowControl);
    Handle->clearError();
    SetLines(true, true);
    return true;
}

void TTavorobject::closeLine()
{
    if (Handle) {
        SetLines(false, false);
        UnlockLine(static_cast<int>(Handle->handle()));
        Handle->close();
    }
    Handle.reset();
}

void TTavorobject::SetLines(bool rts, bool dtr)
{
    if (PortNumber > 0 && Handle) {
        // A pseudo-terminal has no control lines; the port stays usable.
        Handle->setRequestToSend(rts);
        Handle->setDataTerminalReady(dtr);
        Handle->clearError();
    }
    Rts = rts;
    Dtr = dtr;
}

Line::Wait TTavorobject::waitReadable(int ms)
{
    if (!Handle)
        return Wait::Failed;
    if (Handle->bytesAvailable() > 0 || Handle->waitForReadyRead(ms))
        return Wait::Ready;
    // Every time-out leaves a sticky error behind that would spoil the next read.
    const bool lineLost = Handle->error() != QSerialPort::TimeoutError;
    Handle->clearError();
    return lineLost ? Wait::Failed : Wait::TimedOut;
}

void TTavorobject::readWaiting(int32_t most)
{
    const QByteArray got = Handle->read(most);
    if (got.isEmpty())
        Handle->clearError();
    RxBuffer.append(got.constData(), static_cast<size_t>(got.size()));
}

void TTavorobject::writeBytes(const std::string& data)
{
    if (!Handle)
        return;
    if (Handle->write(data.data(), static_cast<qint64>(data.size())) < 0) {
        Handle->clearError();
        return;
    }
    // Without an event loop nothing leaves until we wait for it; each wait
    // may hand over only part of the request.
    QElapsedTimer clock;
    clock.start();
    const int64_t limit = WriteGraceMs + 2 * static_cast<int64_t>(data.size());
    while (Handle->bytesToWrite() > 0 && clock.elapsed() < limit) {
        if (!Handle->waitForBytesWritten(static_cast<int>(limit - clock.elapsed()))) {
            Handle->clearError();
            break;
        }
    }
    // A request cut short must not trail into the next one.
    if (Handle->bytesToWrite() > 0)
        Handle->clear(QSerialPort::Output);
}
