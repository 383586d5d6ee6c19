// The progress bar's filled length; also run natively under the sanitizers.
#include <gtest/gtest.h>

#include "framework/bar_length.h"

using fw::FilledLength;

TEST(FilledLength, ChangesOnlyWithWholeUnits) {
    EXPECT_EQ(FilledLength(0, 200, 217), 0);
    EXPECT_EQ(FilledLength(100, 200, 217), 108);
    EXPECT_EQ(FilledLength(200, 200, 217), 217);
    EXPECT_EQ(FilledLength(5000, 1000000, 217), FilledLength(5001, 1000000, 217));
    EXPECT_EQ(FilledLength(999999999, 1000000000, 217), 216);  // no overflow
    EXPECT_EQ(FilledLength(300, 200, 217), 217);
    EXPECT_EQ(FilledLength(-5, 200, 217), 0);
    EXPECT_EQ(FilledLength(5, 0, 217), 0);
}
