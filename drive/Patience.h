// Brief retries for file steps that another program can hold up for a
// moment: a virus scanner or the indexer that has just opened a file, or a
// removed file whose name stays until the last program holding it lets go.
#pragma once

#include <functional>

// Runs the step until it says it is done, pausing between tries for 1, 10,
// 20, 40, 100, 200, 400 and 800 ms, about 1.6 s in all; whether it was done.
bool TryPatiently(const std::function<bool()>& step);
