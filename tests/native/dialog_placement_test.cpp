#include <gtest/gtest.h>

#include "framework/DialogPlacement.h"

TEST(PlaceDialog, CentresOnTheWorkAreaOrTheOwnerAndStaysInsideTheWorkArea)
{
    const ScreenRect hd{0, 0, 1920, 1080};
    const ScreenRect owner{1500, 900, 1900, 1060};
    const struct {
        const char* what;
        MonitorRects monitor;
        const ScreenRect* owner;
        int width, height, x, y;
    } cases[] = {
        {"work area the whole monitor", {hd, hd}, nullptr, 400, 300, 760, 390},
        {"taskbar at the bottom: centred above it", {hd, {0, 0, 1920, 1040}}, nullptr, 400, 300, 760, 370},
        {"taskbar at the top: centred below it", {hd, {0, 40, 1920, 1080}}, nullptr, 400, 300, 760, 410},
        {"taskbar at the left", {hd, {60, 0, 1920, 1080}}, nullptr, 400, 300, 790, 390},
        {"a monitor left of the primary one", {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}}, nullptr, 400, 300, -840,
         342},
        {"larger than the work area: its top-left corner inside", {hd, {0, 0, 1920, 1040}}, nullptr, 2000, 1200, 0,
         0},
        {"over its owner", {hd, {0, 0, 1920, 1040}}, &owner, 200, 100, 1600, 930},
        {"over an owner near the taskbar: kept above it", {hd, {0, 0, 1920, 1040}}, &owner, 400, 300, 1500, 740},
        {"an odd margin: the half rounded down", {hd, hd}, nullptr, 401, 301, 759, 389},
    };
    for (const auto& c : cases) {
        const ScreenPoint at = PlaceDialog(c.width, c.height, c.monitor, c.owner);
        EXPECT_EQ(at.x, c.x) << c.what;
        EXPECT_EQ(at.y, c.y) << c.what;
    }
}
