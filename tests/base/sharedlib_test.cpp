#include "sharedprobe.h"

#include <gtest/gtest.h>

TEST(BaseInSharedLibraryTest, DateTextWorksThroughTheLibrary) {
    EXPECT_EQ(probeFixedDateText(1999, 3, 7), "03/07/1999");
    EXPECT_EQ(probeFixedDateText(1999, 2, 30), "");
}
