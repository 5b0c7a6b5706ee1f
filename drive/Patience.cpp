#include "drive/Patience.h"

#include "protocol/FileProtocol.h"

bool IsBriefHoldError(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

DWORD TryPatiently(const std::function<DWORD()>& step)
{
    DWORD error = step();
    for (const unsigned pause : kBriefHoldPausesMs) {
        if (!IsBriefHoldError(error))
            break;
        ::Sleep(pause);
        error = step();
    }
    return error;
}
