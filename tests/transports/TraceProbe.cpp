// A tiny program that runs one transfer and one failed open with the process
// log on, so a test can read the serial trace the way an engineer would. Its
// working folder holds Kalmoria.ini and the log; COM1 is a peer, COM2 nothing.

#include "protocol/Tvep.h"
#include "diag/ErrLog.h"
#include "tests/common/Frames.h"
#include "tests/common/PtyPeer.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>
#include <QDir>

#include <array>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv)
{
    ErrLogStartup();
    QCoreApplication app(argc, argv);
    PtyPeer peer;
    const std::string folder = QDir::currentPath().toStdString();
    std::ofstream(folder + "/Kalmoria.ini") << "[Schnittstellen]\r\nCOM1=" << peer.path() << "\r\n";
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);

    peer.answer(replyFrame(1500, {0x0300, 0x0042}));
    std::array<uint16_t, 2> recv{};
    Tvep vep{SystemLines()};
    vep.OpenPort(1, 0, '\0');
    const int32_t result = vep.Transfer(0, 0, {}, 1500, 2, recv, true);
    vep.ClosePort();
    vep.OpenPort(2, 9600, 'n');

    ErrLogShutdown(result);
    return result == 0 ? 0 : 1;
}
