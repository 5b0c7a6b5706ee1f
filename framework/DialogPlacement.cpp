#include "framework/DialogPlacement.h"

#include <algorithm>

ScreenPoint PlaceDialog(int width, int height, const MonitorRects& monitor, const ScreenRect* owner)
{
    const ScreenRect& area = monitor.work;
    const ScreenRect& around = owner != nullptr ? *owner : area;
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max(std::min(x, area.right - width), area.left);
    y = std::max(std::min(y, area.bottom - height), area.top);
    return {x, y};
}
