#include "storage/BriefHolds.h"

bool IsBriefHoldError(DWORD error)
{
    // A file being removed while someone still has it open answers every open
    // with access denied until the last handle closes.
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}
