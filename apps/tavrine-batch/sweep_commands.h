// The batch runner's commands for many variants: "grid", "sweep" and "collect".
#pragma once

#include <string>
#include <vector>

namespace tavrine::batch {

// args: the words after the command name; each returns the process exit code.
int GridCommand(const std::vector<std::string>& args);
int SweepCommand(const std::vector<std::string>& args);
int CollectCommand(const std::vector<std::string>& args);

}  // namespace tavrine::batch
