#include "transports/TTavorobject.h"

#include "transports/LineLock.h"
#include "transports/PortAccess.h"
#include "diag/ErrLog.h"
#include "diag/TextHelpers.h"

#include <QElapsedTimer>
#include <QSerialPort>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>

namespace {

constexpr int32_t SerialTrace = 8;        // debug bit of the frame trace
constexpr int32_t LowestBaud = 300;       // below this the line runs at the default
constexpr int32_t DefaultBaud = 9600;
constexpr int32_t MaxChunk = 254;         // the most one read may ask for
constexpr int WaitSliceMs = 20;           // how often a waiting read lets the window repaint
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

bool TTavorobject::OpenPortAt(int32_t port, const std::string& path, int32_t baud, char parity)
{
    bool result = true;
    try {
        if (DebugBit(SerialTrace))
            WriteErrLog("+ReOpenPort");
        // Always reopen, even the same port: the line settings may differ.
        ClosePort();
        OpenProblem = {};
        if (baud < LowestBaud)
            baud = DefaultBaud;
        result = openAndConfigure(port, path, baud, parity);
        if (DebugFlag())
            WriteErrLog("Com=" + IntToText(port) + ": " + BoolText(result) + "  Baud=" + IntToText(baud));
        if (DebugBit(SerialTrace))
            WriteErrLog(" OpenPort");
    } catch (const std::exception& e) {
        WriteErrLog(std::string("OpenPort: Exception ") + e.what());
        result = false;
    } catch (...) {
        WriteErrLog("OpenPort: Exception unknown");
        result = false;
    }
    // A half-opened port after an exception must not look usable.
    if (!result && PortNumber > 0)
        ClosePort();
    if (!result && OpenProblem.cause == PortOpenProblem::Cause::None)
        OpenProblem.cause = PortOpenProblem::Cause::Unknown;
    return result;
}

bool TTavorobject::openAndConfigure(int32_t port, const std::string& path, int32_t baud, char parity)
{
    if (port < 1)
        return false;
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
    PortNumber = port;
    setLineSettings(baud, parity);
    // As with the driver calls these stand for, a setting the line refuses
    // is not fatal: the device answers or it does not.
    Handle->setBaudRate(baud);
    Handle->setDataBits(QSerialPort::Data8);
    Handle->setParity(qtParity(Dcb.Parity));
    Handle->setStopBits(QSerialPort::OneStop);
    Handle->setFlowControl(QSerialPort::NoFlowControl);
    Handle->clearError();

    SetLines(true, true);
    SetReadTimeout(0);
    return true;
}

void TTavorobject::ClosePort()
{
    if (PortNumber > 0) {
        if (DebugFlag())
            WriteErrLog("CLOSE COM" + IntToText(PortNumber));
        SetLines(false, false);
        if (Handle) {
            UnlockLine(static_cast<int>(Handle->handle()));
            Handle->close();
        }
    }
    Handle.reset();
    PortNumber = 0;
    Baud = 0;
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

bool TTavorobject::waitForByte(int msecs)
{
    if (!m_waitHook) {
        const bool ready = Handle->waitForReadyRead(msecs);
        // Every time-out leaves a sticky error behind that would spoil the next read.
        if (!ready)
            Handle->clearError();
        return ready;
    }
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const int left = msecs - static_cast<int>(clock.elapsed());
        if (Handle->waitForReadyRead(std::clamp(left, 1, WaitSliceMs)))
            return true;
        const bool lineLost = Handle->error() != QSerialPort::TimeoutError;
        Handle->clearError();
        if (lineLost || clock.elapsed() >= msecs)
            return false;
        m_waitHook();
    }
}

int32_t TTavorobject::ReadChunk(int32_t maxBytes)
{
    if (PortNumber <= 0 || !Handle)
        return 0;
    const int32_t wanted = std::min(maxBytes, MaxChunk);
    if (wanted < 1)
        return 0;
    if (Handle->bytesAvailable() == 0 && !waitForByte(readWaitMs(wanted)))
        return 0;
    const QByteArray got = Handle->read(wanted);
    if (got.isEmpty()) {
        Handle->clearError();
        return 0;
    }
    RxBuffer.append(got.constData(), static_cast<size_t>(got.size()));
    return static_cast<int32_t>(got.size());
}

void TTavorobject::SendString(const std::string& data)
{
    if (PortNumber <= 0 || !Handle)
        return;
    RxBuffer.clear();
    if (DebugBit(SerialTrace))
        WriteErrLog("  RS+: " + HexDump(data));
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

bool TTavorobject::InputWaiting()
{
    if (PortNumber <= 0 || !Handle)
        return false;
    if (Handle->bytesAvailable() > 0)
        return true;
    const bool arrived = Handle->waitForReadyRead(0);
    if (!arrived)
        Handle->clearError();
    return arrived;
}
