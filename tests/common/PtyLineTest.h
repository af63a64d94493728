#pragma once

#include "tests/common/PtyPeer.h"
#include "tests/common/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

// A test with a peer behind COM1: the settings file of a scratch folder maps
// COM1 to the peer's pseudo-terminal, as a user maps a USB adapter.
class PtyLineTest : public ::testing::Test {
protected:
    PtyLineTest()
    {
        m_config.write("Kalmoria.ini", "[Kalmoria]\r\nSprache=KalmoriaEN.TXT\r\n\r\n[Schnittstellen]\r\nCOM1="
                                           + peer.path() + "\r\nCOM2=/dev/no-such-port\r\n\r\n");
        setenv("XDG_CONFIG_HOME", m_config.path().c_str(), 1);
    }
    ~PtyLineTest() override { unsetenv("XDG_CONFIG_HOME"); }

    static double secondsSince(std::chrono::steady_clock::time_point start)
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    PtyPeer peer;

private:
    TempDir m_config;
};
