#include "transports/TTavorobject.h"

#include "transports/LineLock.h"
#include "transports/PortAccess.h"
#include "diag/ErrLog.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <cerrno>
#include <cstring>

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

    auto serial = std::make_unique<QSerialPort>();
    serial->setPortName(QString::fromStdString(path));
    // Qt keeps a lock file per port, which a second object here or a second
    // Kalmoria respects; the line's own lock keeps out the other programs.
    if (!serial->open(QIODevice::ReadWrite)) {
        OpenProblem = DiagnoseFailedOpen(path, serial->error(), serial->errorString().toStdString());
        if (DebugFlag())
            WriteErrLog("OpenPort: " + path + ": " + serial->errorString().toStdString());
        return false;
    }
    if (!LockLine(static_cast<int>(serial->handle()))) {
        const int lockError = errno;
        OpenProblem = DiagnoseHeldLine(path, std::strerror(lockError));
        if (DebugFlag())
            WriteErrLog("OpenPort: " + path + ": " + std::strerror(lockError));
        return false;
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
