// Where a modal dialog comes up. Portable: no Windows header.
#pragma once

struct ScreenRect {
    int left;
    int top;
    int right;
    int bottom;
};

struct ScreenPoint {
    int x;
    int y;
};

// A monitor as the system reports it: its whole rectangle, and its work area,
// which leaves out the taskbar and docked bars.
struct MonitorRects {
    ScreenRect monitor;
    ScreenRect work;
};

// The top-left corner of a dialog of this size: centred over its owner, or
// on the work area of the monitor when it has none, and kept inside the
// work area, never under the taskbar. Where it does not fit, its top-left
// corner stays inside, so that the caption can be reached.
ScreenPoint PlaceDialog(int width, int height, const MonitorRects& monitor, const ScreenRect* owner);
