#include <gtest/gtest.h>

#include "ui/IconPlacement.h"

TEST(CenterIconInClient, HalvesTowardZero)
{
    const struct {
        int clientWidth, clientHeight, iconWidth, iconHeight, x, y;
    } cases[] = {
        {0, 0, 32, 32, -15, -15},    // -31 / 2 truncates to -15, not -16
        {32, 32, 32, 32, 0, 0},
        {100, 50, 32, 32, 34, 9},    // 69 / 2 and 19 / 2
        {33, 31, 32, 32, 1, 0},
        {1, 0, 32, 48, -15, -23},
        {160, 120, 16, 16, 72, 52},
    };
    for (const auto& c : cases) {
        const IconOrigin at = CenterIconInClient(c.clientWidth, c.clientHeight, c.iconWidth, c.iconHeight);
        EXPECT_EQ(at.x, c.x) << c.clientWidth << "x" << c.clientHeight;
        EXPECT_EQ(at.y, c.y) << c.clientWidth << "x" << c.clientHeight;
    }
}
