// Where the minimised window draws its icon: centred in the client area.
#pragma once

struct IconOrigin {
    int x;
    int y;
};

// Signed 32-bit halving that truncates toward zero, so a 0 x 0 client area
// with a 32 x 32 icon gives -15, not -16.
constexpr IconOrigin CenterIconInClient(int clientWidth, int clientHeight, int iconWidth, int iconHeight)
{
    return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
