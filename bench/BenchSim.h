#pragma once

#include "diag/ProgramFolder.h"
#include "model/Station.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdlib>
#include <fstream>
#include <string>

// Starts qmx-sim beside the benchmark with `arguments`: the pseudo-terminal
// it serves, empty when it did not come up.
inline std::string StartBenchSim(QProcess& sim, const QStringList& arguments)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QString::fromStdString(programFolder() + "qmx-sim"), arguments);
    while (sim.waitForStarted() && !sim.canReadLine() && sim.state() == QProcess::Running)
        sim.waitForReadyRead(10000);
    return sim.readLine().trimmed().toStdString();
}

// A station on COM1 at 9600 8N1, as the port search leaves a port it found.
inline Station BenchStation()
{
    Station station;
    station.ComPortNr = 1;
    station.ComBaud = 9600;
    station.ComParity = 'n';
    return station;
}

// Points Kalmoria.ini at a scratch folder whose [Schnittstellen] maps COM1,
// COM2, ... to `paths`.
inline void MapBenchPorts(const QTemporaryDir& config, const std::vector<std::string>& paths)
{
    std::ofstream ini(config.filePath("Kalmoria.ini").toStdString());
    ini << "[Schnittstellen]\r\n";
    for (std::size_t i = 0; i < paths.size(); ++i)
        ini << "COM" << i + 1 << "=" << paths[i] << "\r\n";
    setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
}
