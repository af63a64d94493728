#pragma once

#include "model/Station.h"
#include "tests/common/StationBuilder.h"

#include <gtest/gtest.h>

#include <initializer_list>

// A device with the central device and the modules 3, 5 and 7 (ModuleList
// positions 1, 2 and 3) and an empty link table, for the editor's rules.
class LinkTableFixture : public testing::Test {
public:
    static constexpr int32_t kPositionOf3 = 1;
    static constexpr int32_t kPositionOf5 = 2;
    static constexpr int32_t kPositionOf7 = 3;

protected:
    // Also between the cases of one test: a station as the fixture makes it.
    void SetUp() override
    {
        station = StationBuilder().Module(3, 0).Module(5, 0).Module(7, 0).Build();
    }

    // Appends a link and returns its number; `active` switches it on.
    int32_t addLink(int32_t modulQ, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t modulZ, int32_t regZ,
                    int32_t bitZ, bool active = false)
    {
        EXPECT_TRUE(station.AppendLink(modulQ, regVon, bitVon, anzBit, modulZ, regZ, bitZ));
        station.LinkTable[static_cast<std::size_t>(station.AnzBefehle)].deaktiv = active ? 0 : 1;
        return station.AnzBefehle;
    }

    Station station;
};
