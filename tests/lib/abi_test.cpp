// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
// Drives the C client in abi_checks.c against the built libQFC_MRB.so.
#include "tests/lib/abi_checks.h"
#include "tests/lib/libraryfile.h"
#include "tests/support/temptree.h"

#include <gtest/gtest.h>

namespace
{

class CClient : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const char *problem = abiOpen(mrb::test::libraryFile().c_str());
        ASSERT_EQ(problem, nullptr) << problem;
    }
    mrb::test::TempTree tree;
};

#define EXPECT_PASSES(check)                                                                                           \
    do {                                                                                                               \
        const char *problem = (check);                                                                                 \
        EXPECT_EQ(problem, nullptr) << problem;                                                                        \
    } while (0)

TEST_F(CClient, WritesAndReadsProfileThroughSlots14And16)
{
    EXPECT_PASSES(abiIniThroughSlots(tree.path("options.dll").c_str()));
    EXPECT_EQ(mrb::test::TempTree::read(tree.path("options.dll")), "[Common]\r\nPath=abc\r\n");
}

TEST_F(CClient, TestsMembershipThroughSlot5)
{
    EXPECT_PASSES(abiInVarThroughSlot());
}

TEST_F(CClient, ReachesTheSameOperationsThroughInvoke)
{
    EXPECT_PASSES(abiThroughInvoke(tree.path("late.ini").c_str()));
}

TEST_F(CClient, RefusesUnknownInterfacesClassesAndAggregation)
{
    EXPECT_PASSES(abiUnknownInterface());
}

TEST_F(CClient, MayUnloadOnlyAfterTheLastReleaseAndUnlock)
{
    EXPECT_PASSES(abiUnloadAfterLastRelease());
}

} // namespace
