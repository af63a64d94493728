#include "transports/LineLock.h"

#include <cerrno>

#include <sys/file.h>
#include <sys/ioctl.h>

bool LockLine(int fd)
{
    if (fd < 0)
        return false;
    int result = 0;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0)
        return false;
    ::ioctl(fd, TIOCEXCL);
    return true;
}

void UnlockLine(int fd)
{
    if (fd >= 0)
        ::ioctl(fd, TIOCNXCL);
}
