// Large blocks: zeroed, usable to their last byte, and still zero after being populated on two
// threads, at sizes around the point where they come from the system as huge pages.
#include <gtest/gtest.h>

#include <cstring>

#include "model/LargeBlock.h"

TEST(LargeBlock, ZeroedAndWholeBeforeAndAfterPopulating) {
    for (std::size_t bytes : {std::size_t(1000), std::size_t(1) << 20, (std::size_t(3) << 20) + 1,
                              (std::size_t(65) << 20) + 4097}) {
        for (bool populate : {false, true}) {
            auto* p = static_cast<unsigned char*>(AllocateLarge(bytes));
            ASSERT_NE(p, nullptr);
            if (populate) PopulateLarge(p, bytes);
            for (std::size_t at = 0; at < bytes; at += 511) ASSERT_EQ(p[at], 0) << bytes << " at " << at;
            ASSERT_EQ(p[bytes - 1], 0) << bytes;
            std::memset(p, 0xA5, bytes);
            EXPECT_EQ(p[0], 0xA5);
            EXPECT_EQ(p[bytes - 1], 0xA5);
            FreeLarge(p, bytes);
        }
    }
}
