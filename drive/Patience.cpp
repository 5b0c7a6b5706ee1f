#include "drive/Patience.h"

#include <windows.h>

#include "protocol/FileProtocol.h"

bool TryPatiently(const std::function<bool()>& step)
{
    if (step())
        return true;
    for (const unsigned pause : kBriefHoldPausesMs) {
        ::Sleep(pause);
        if (step())
            return true;
    }
    return false;
}
