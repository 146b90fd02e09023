// Runs shell command lines on a number of local processes at once.
#pragma once

#include <string>
#include <vector>

#include "model/progress.h"

namespace tavrine::batch {

// Each line through /bin/sh -c, at most `jobs` at a time; the bar advances per finished line.
// Returns how many lines failed (exit code other than 0, or no process).
int RunCommandLines(const std::vector<std::string>& lines, int jobs, Progress& progress);

}  // namespace tavrine::batch
