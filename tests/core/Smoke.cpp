#include <gtest/gtest.h>

#include "TestForm.h"

TEST(Smoke, SmallTableLoadsAndRanks) {
    auto f = FormWithData("\"A\",10,20,0\n\"B\",30,5,7\n\"C\",1,1,1\n", 3, 3);
    EXPECT_EQ(f->data->NumPresent(3), 2);
    EXPECT_EQ(f->rank.RankCity(1, 1), 2);
}
