#include "sim/SimLine.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace qmxsim {

namespace {

std::string systemError(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// Raw bytes both ways: no echo, no line editing, no CR/LF translation, 8N1.
bool makeRaw(int fd)
{
    termios tio{};
    if (tcgetattr(fd, &tio) != 0)
        return false;
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

} // namespace

SimLine::~SimLine()
{
    if (m_clientSide >= 0)
        close(m_clientSide);
    if (m_fd >= 0)
        close(m_fd);
}

bool SimLine::openPseudoTerminal(std::string& error)
{
    m_fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_fd < 0 || grantpt(m_fd) != 0 || unlockpt(m_fd) != 0) {
        error = systemError("pseudo-terminal");
        return false;
    }
    char name[128];
    if (ptsname_r(m_fd, name, sizeof name) != 0) {
        error = systemError("pseudo-terminal name");
        return false;
    }
    m_path = name;
    m_clientSide = open(name, O_RDWR | O_NOCTTY);
    if (m_clientSide < 0 || !makeRaw(m_clientSide)) {
        error = systemError(m_path);
        return false;
    }
    if (fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) | O_NONBLOCK) != 0) {
        error = systemError("pseudo-terminal");
        return false;
    }
    return true;
}

bool SimLine::openSerialPort(const std::string& path, std::string& error)
{
    m_path = path;
    m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_fd < 0) {
        error = systemError(path);
        return false;
    }
    // Like the program's own port: nobody else may open it meanwhile.
    if (ioctl(m_fd, TIOCEXCL) != 0 || !makeRaw(m_fd)) {
        error = systemError(path);
        return false;
    }
    tcflush(m_fd, TCIOFLUSH);
    return true;
}

} // namespace qmxsim
