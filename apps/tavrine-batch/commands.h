// The commands of the batch runner; each returns the process exit code.
#pragma once

#include <string>
#include <vector>

namespace tavrine::batch {

// args: the words after the command name.
int RenderCommand(const std::vector<std::string>& args);
int ForceCommand(const std::vector<std::string>& args);
int PcCommand(const std::vector<std::string>& args);
int KtCommand(const std::vector<std::string>& args);
int MapCommand(const std::vector<std::string>& args);

}  // namespace tavrine::batch
