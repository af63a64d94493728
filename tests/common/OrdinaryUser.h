#pragma once

#include <QProcess>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

// No file mode stops root, and CI runs the tests as root. A child process
// that must meet a file's modes the way an ordinary user does then runs as
// "nobody"; started by anyone else it keeps the test's own user, whom the
// test's own chmod stops anyway.
inline void RunAsOrdinaryUser(QProcess& process)
{
    if (::geteuid() != 0)
        return;
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody != nullptr ? nobody->pw_uid : 65534;
    const gid_t gid = nobody != nullptr ? nobody->pw_gid : 65534;
    process.setChildProcessModifier([uid, gid] {
        // A child still root would prove nothing: it does not run at all.
        if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
            ::_exit(126);
    });
}

inline bool RunningAsRoot()
{
    return ::geteuid() == 0;
}
