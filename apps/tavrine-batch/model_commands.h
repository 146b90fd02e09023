// The batch runner's model-file commands "run" and "export", and the help text.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace tavrine::batch {

// args: the words after the command name; each returns the process exit code.
int RunCommand(const std::vector<std::string>& args);
int ExportCommand(const std::vector<std::string>& args);
void PrintHelp(std::FILE* out);

}  // namespace tavrine::batch
