// A device read and then a link write over COM1, which the settings file of
// a scratch folder maps to the device file given as the only argument, done
// by whoever runs this program: the tests run it as a user the device file is
// locked away from. Prints the text of every message the two have for the
// user, each ended by a NUL byte.

#include "sequences/DeviceRead.h"
#include "sequences/LinkWrite.h"
#include "model/Station.h"
#include "protocol/Tvep.h"
#include "diag/ProgramFolder.h"
#include "i18n/LanguageTexts.h"
#include "i18n/NoticeText.h"
#include "model/Station.h"
#include "model/ModuleModel.h"
#include "tests/common/RecordingView.h"
#include "transports/LineFactory.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <fstream>
#include <iostream>

namespace {

void print(const std::vector<Notice>& notices)
{
    for (const Notice& notice : notices)
        std::cout << NoticeText(notice) << '\0' << std::flush;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QCoreApplication app(argc, argv);
    const QTemporaryDir config;
    if (!config.isValid())
        return 3;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    std::ofstream(config.filePath(QStringLiteral("Kalmoria.ini")).toStdString())
        << "[Schnittstellen]\r\nCOM1=" << argv[1] << "\r\n";

    ResetLanguageTexts(programFolder(), "Kalmoria");
    Station station;
    station.ComBaud = 9600;
    station.ComParity = 'n';

    Tvep vep{SystemLines()};
    RecordingView view;
    print(ReadDevice(vep, station, view).notices);
    // As after a good read, so that the write goes as far as the port.
    station.DataState = 0;
    print(WriteLinksToDevice(vep, station).notices);
    return 0;
}
