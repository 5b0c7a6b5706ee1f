#include "drive/Patience.h"

#include <windows.h>

namespace {

// Growing pauses: most holders let go within milliseconds, a few take longer.
constexpr DWORD kPausesMs[] = {1, 10, 20, 40, 100, 200, 400, 800};

}  // namespace

bool TryPatiently(const std::function<bool()>& step)
{
    if (step())
        return true;
    for (DWORD pause : kPausesMs) {
        ::Sleep(pause);
        if (step())
            return true;
    }
    return false;
}
