// The headless batch runner: dispatches the command word to its command.
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"
#include "model_commands.h"
#include "picture_launch.h"
#include "sweep_commands.h"

int main(int argc, char** argv) {
  // Past the file size limit a write fails with EFBIG, and the half-written temporary file is
  // removed, instead of the program being ended with it left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::fputs("tavrine-batch: コマンドがありません（tavrine-batch --help を参照）\n", stderr);
    return 2;
  }
  const std::string& command = words[0];
  const std::vector<std::string> args(words.begin() + 1, words.end());
  if (command == "--help" || command == "-h" || command == "help") {
    tavrine::batch::PrintHelp(stdout);
    return 0;
  }
  if (command == "run") {
    return tavrine::batch::RunCommand(args);
  }
  if (command == "export") {
    return tavrine::batch::ExportCommand(args);
  }
  if (command == "force") {
    return tavrine::batch::ForceCommand(args);
  }
  if (command == "pc") {
    return tavrine::batch::PcCommand(args);
  }
  if (command == "kt") {
    return tavrine::batch::KtCommand(args);
  }
#ifdef TAVRINE_PICTURE_PROGRAM
  if (command == "render" || command == "map") {
    return tavrine::batch::ExecPictureProgram(argv);
  }
#endif
  if (command == "render") {
    return tavrine::batch::RenderCommand(args);
  }
  if (command == "grid") {
    return tavrine::batch::GridCommand(args);
  }
  if (command == "sweep") {
    return tavrine::batch::SweepCommand(args);
  }
  if (command == "collect") {
    return tavrine::batch::CollectCommand(args);
  }
  if (command == "map") {
    return tavrine::batch::MapCommand(args);
  }
  std::fprintf(stderr, "tavrine-batch: 不明なコマンドです: %s（tavrine-batch --help を参照）\n",
               command.c_str());
  return 2;
}
