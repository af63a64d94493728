#include "transports/Telnet.h"

#include <gtest/gtest.h>

#include <string>

using namespace telnet;
using State = Session::State;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (const int v : values)
        text += static_cast<char>(v);
    return text;
}

// A session whose opening the server has agreed to, as ser2net does.
Session agreed()
{
    Session session;
    session.Opening();
    session.Receive(bytes({IAC, DO, BINARY, IAC, WILL, BINARY, IAC, DO, SGA, IAC, WILL, SGA, IAC, DO, COM_PORT_OPTION}));
    EXPECT_EQ(session.TakeAnswers(), "") << "agreement to our own requests needs no answer";
    return session;
}

} // namespace

TEST(Telnet, TheOpeningAsksForBinarySuppressedGoAheadAndTheComPortOption)
{
    Session session;
    EXPECT_EQ(session.Opening(), bytes({IAC, WILL, BINARY, IAC, DO, BINARY, IAC, WILL, SGA, IAC, DO, SGA, IAC, WILL,
                                        COM_PORT_OPTION}));
    EXPECT_FALSE(session.Settled());
    EXPECT_EQ(session.Ours(COM_PORT_OPTION), State::WantYes);

    const Session done = agreed();
    EXPECT_TRUE(done.Settled());
    EXPECT_EQ(done.Ours(BINARY), State::Yes);
    EXPECT_EQ(done.Theirs(BINARY), State::Yes);
    EXPECT_EQ(done.Ours(COM_PORT_OPTION), State::Yes);
}

TEST(Telnet, WhatSer2netSaysAtConnectIsAnsweredOnceAndNeverLoops)
{
    // ser2net 4.3's greeting, taken from the wire.
    Session session;
    session.Opening();
    const std::string greeting = bytes({IAC, WILL, SGA, IAC, DO, SGA, IAC, WILL, ECHO, IAC, DONT, ECHO, IAC, DO,
                                        BINARY, IAC, WILL, BINARY, IAC, DO, COM_PORT_OPTION, IAC, SB, COM_PORT_OPTION,
                                        107, 0, IAC, SE, IAC, DO, SGA});
    EXPECT_EQ(session.Receive(greeting), "") << "no data in it";
    // Only the echo it offers is refused; everything else agrees with what we asked.
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, DONT, ECHO}));
    EXPECT_TRUE(session.Settled());
    // Saying it again changes nothing and needs no answer.
    session.Receive(bytes({IAC, DO, SGA, IAC, WILL, BINARY, IAC, DONT, ECHO}));
    EXPECT_EQ(session.TakeAnswers(), "");
}

TEST(Telnet, OptionsNobodyAskedForAreRefusedAndWithdrawnOnesConfirmed)
{
    Session session = agreed();
    // Terminal type, window size, linemode: not wanted either way.
    session.Receive(bytes({IAC, DO, 24, IAC, DO, 31, IAC, WILL, 34}));
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, WONT, 24, IAC, WONT, 31, IAC, DONT, 34}));
    // The server withdraws binary both ways: confirmed once each.
    session.Receive(bytes({IAC, DONT, BINARY, IAC, WONT, BINARY}));
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, WONT, BINARY, IAC, DONT, BINARY}));
    EXPECT_EQ(session.Ours(BINARY), State::No);
    // Withdrawing what is already off needs no word.
    session.Receive(bytes({IAC, DONT, BINARY, IAC, WONT, BINARY}));
    EXPECT_EQ(session.TakeAnswers(), "");
    // The server may ask again for what it dropped; we agree, once.
    session.Receive(bytes({IAC, DO, BINARY, IAC, DO, BINARY}));
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, WILL, BINARY}));
}

TEST(Telnet, RefusedRequestsSettleTheNegotiation)
{
    Session session;
    session.Opening();
    session.Receive(bytes({IAC, DONT, COM_PORT_OPTION, IAC, WONT, BINARY, IAC, DONT, BINARY, IAC, WONT, SGA, IAC,
                           DONT, SGA}));
    EXPECT_EQ(session.TakeAnswers(), "") << "a refusal of our request is not answered";
    EXPECT_TRUE(session.Settled());
    EXPECT_EQ(session.Ours(COM_PORT_OPTION), State::No);
}

TEST(Telnet, DataBytes0xFFTravelDoubledBothWays)
{
    const Session session = agreed();
    EXPECT_EQ(session.Escape(bytes({0x61, 0xFF, 0x00, 0xFF, 0xFF, 0x0D, 0x0A})),
              bytes({0x61, 0xFF, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0x0A}));

    Session receiving = agreed();
    EXPECT_EQ(receiving.Receive(bytes({0xE1, 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0x00, 0x12})),
              bytes({0xE1, 0xFF, 0xFF, 0x0D, 0x00, 0x12}))
        << "in binary mode CR NUL is two data bytes";
}

TEST(Telnet, AnEscapeSplitAcrossPiecesIsStillOneByte)
{
    Session session = agreed();
    std::string data;
    // An end slot of the link area, 0xFFFF 0xFFFF, as four TCP segments could cut it.
    for (const std::string& piece : {bytes({0x01, IAC}), bytes({IAC, IAC}), bytes({IAC}), bytes({0x02})})
        data += session.Receive(piece);
    EXPECT_EQ(data, bytes({0x01, 0xFF, 0xFF, 0x02}));

    // A command cut after its IAC, and a subnegotiation cut anywhere.
    data = session.Receive(bytes({0x10, IAC}));
    data += session.Receive(bytes({WILL}));
    data += session.Receive(bytes({ECHO, 0x11, IAC, SB, COM_PORT_OPTION}));
    data += session.Receive(bytes({SET_BAUDRATE + ServerOffset, 0, 0, 0x25}));
    data += session.Receive(bytes({0x80, IAC}));
    data += session.Receive(bytes({SE, 0x12}));
    EXPECT_EQ(data, bytes({0x10, 0x11, 0x12}));
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, DONT, ECHO}));
    ASSERT_TRUE(session.Answer(SET_BAUDRATE).has_value());
    EXPECT_EQ(*session.Answer(SET_BAUDRATE), bytes({0, 0, 0x25, 0x80}));
}

TEST(Telnet, CommandsWithoutMeaningHereAreDropped)
{
    Session session = agreed();
    // NOP, data mark, go ahead, break, then data.
    EXPECT_EQ(session.Receive(bytes({IAC, 241, IAC, 242, 0x41, IAC, 249, IAC, 243, 0x42})), "AB");
    EXPECT_EQ(session.TakeAnswers(), "");
}

TEST(Telnet, WithoutBinaryACarriageReturnTravelsAsCrNul)
{
    Session session;
    session.Opening();
    session.Receive(bytes({IAC, DONT, BINARY, IAC, WONT, BINARY, IAC, DO, SGA, IAC, WILL, SGA, IAC, DO, COM_PORT_OPTION}));
    EXPECT_EQ(session.Escape(bytes({0x0D, 0x0A, 0x0D})), bytes({0x0D, 0x00, 0x0A, 0x0D, 0x00}));
    EXPECT_EQ(session.Receive(bytes({0x0D, 0x00, 0x0D, 0x0A, 0x0D})), bytes({0x0D, 0x0D, 0x0A, 0x0D}));
    EXPECT_EQ(session.Receive(bytes({0x00, 0x41})), "A") << "the NUL of a CR NUL cut between pieces";
}

TEST(Telnet, TheLineSettingsAndThePurgeAreComPortSubnegotiations)
{
    EXPECT_EQ(Session::LineSettings(9600, 'n'),
              bytes({IAC, SB, COM_PORT_OPTION, SET_BAUDRATE, 0, 0, 0x25, 0x80, IAC, SE,
                     IAC, SB, COM_PORT_OPTION, SET_DATASIZE, 8, IAC, SE,
                     IAC, SB, COM_PORT_OPTION, SET_PARITY, PARITY_NONE, IAC, SE,
                     IAC, SB, COM_PORT_OPTION, SET_STOPSIZE, STOPSIZE_1, IAC, SE,
                     IAC, SB, COM_PORT_OPTION, SET_CONTROL, CONTROL_NO_FLOW, IAC, SE}));
    EXPECT_EQ(Session::ExpectedLineAnswers(19200, 'E')[2].second, bytes({PARITY_EVEN}));
    EXPECT_EQ(Session::ExpectedLineAnswers(19200, 'o')[2].second, bytes({PARITY_ODD}));
    EXPECT_EQ(Session::ExpectedLineAnswers(19200, 'x')[0].second, bytes({0, 0, 0x4B, 0x00}));
    EXPECT_EQ(Session::Purge(PURGE_BOTH), bytes({IAC, SB, COM_PORT_OPTION, PURGE_DATA, 3, IAC, SE}));
    // A value byte 0xFF is doubled inside the subnegotiation as well.
    EXPECT_EQ(Session::ComPortCommand(SET_BAUDRATE, bytes({0, 0, 0xFF, 0xFF})),
              bytes({IAC, SB, COM_PORT_OPTION, SET_BAUDRATE, 0, 0, IAC, IAC, IAC, IAC, IAC, SE}));
}

TEST(Telnet, TheServersAnswersAreKeptByCommand)
{
    Session session = agreed();
    EXPECT_FALSE(session.Answer(SET_PARITY).has_value());
    session.Receive(bytes({IAC, SB, COM_PORT_OPTION, PURGE_DATA + ServerOffset, 3, IAC, SE,
                           IAC, SB, COM_PORT_OPTION, SET_PARITY + ServerOffset, PARITY_NONE, IAC, SE,
                           IAC, SB, COM_PORT_OPTION, SET_BAUDRATE + ServerOffset, 0, 0, IAC, IAC, IAC, IAC, IAC, SE}));
    ASSERT_TRUE(session.Answer(SET_PARITY).has_value());
    EXPECT_EQ(*session.Answer(SET_PARITY), bytes({PARITY_NONE}));
    EXPECT_EQ(*session.Answer(PURGE_DATA), bytes({3}));
    EXPECT_EQ(*session.Answer(SET_BAUDRATE), bytes({0, 0, 0xFF, 0xFF}));
    EXPECT_FALSE(session.Answer(99).has_value()) << "no command of that number";
    session.ForgetAnswers();
    EXPECT_FALSE(session.Answer(SET_PARITY).has_value());
}

TEST(Telnet, AnEndlessSubnegotiationCannotGrowWithoutBound)
{
    Session session = agreed();
    std::string flood = bytes({IAC, SB, COM_PORT_OPTION, SET_BAUDRATE + ServerOffset});
    flood.append(100000, 'x');
    flood += bytes({IAC, SE, 0x41});
    EXPECT_EQ(session.Receive(flood), "A");
    ASSERT_TRUE(session.Answer(SET_BAUDRATE).has_value());
    EXPECT_LE(session.Answer(SET_BAUDRATE)->size(), 256u);
}

TEST(Telnet, ASubnegotiationCutShortByACommandEndsThere)
{
    Session session = agreed();
    // IAC WILL inside a subnegotiation: the subnegotiation ends, the command counts.
    EXPECT_EQ(session.Receive(bytes({IAC, SB, COM_PORT_OPTION, SET_DATASIZE + ServerOffset, 8, IAC, WILL, ECHO, 0x41})),
              "A");
    EXPECT_EQ(*session.Answer(SET_DATASIZE), bytes({8}));
    EXPECT_EQ(session.TakeAnswers(), bytes({IAC, DONT, ECHO}));
}
