#pragma once

#include "core/Session.h"
#include "model/LinkModel.h"
#include "model/ModuleModel.h"
#include "model/SignalGroups.h"

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
    void SetUp() override
    {
        ResetSession();
        for (int32_t address : {0, 3, 5, 7})
            ModuleTable[static_cast<std::size_t>(address)].present = 1;
    }

    void TearDown() override { ResetSession(); }

    // Appends a link and returns its number; `active` switches it on.
    static int32_t addLink(int32_t modulQ, int32_t regVon, int32_t bitVon, int32_t anzBit, int32_t modulZ,
                           int32_t regZ, int32_t bitZ, bool active = false)
    {
        EXPECT_TRUE(AppendLink(modulQ, regVon, bitVon, anzBit, modulZ, regZ, bitZ));
        LinkTable[static_cast<std::size_t>(AnzBefehle)].deaktiv = active ? 0 : 1;
        return AnzBefehle;
    }
};
