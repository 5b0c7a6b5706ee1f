// Brief retries for file steps that another program can hold up for a
// moment: a virus scanner or the indexer that has just opened a file, or a
// removed file whose name stays until the last program holding it lets go.
#pragma once

#include <functional>

// Runs the step until it says it is done, pausing between tries as
// Numvera.exe does (kBriefHoldPausesMs, about 1.6 s in all); whether it was
// done.
bool TryPatiently(const std::function<bool()>& step);
