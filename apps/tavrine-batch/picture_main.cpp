// The picture commands (render, map) as their own program: only it loads QtGui, so the other
// commands of tavrine-batch start without the GUI libraries. tavrine-batch hands it the
// command word and its arguments unchanged.
#include <cstdio>
#include <string>
#include <vector>

#include "commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  const std::string command = words.empty() ? std::string() : words[0];
  const std::vector<std::string> args(words.begin() + (words.empty() ? 0 : 1), words.end());
  if (command == "render") {
    return tavrine::batch::RenderCommand(args);
  }
  if (command == "map") {
    return tavrine::batch::MapCommand(args);
  }
  std::fputs("tavrine-batch-picture: render または map を指定してください\n", stderr);
  return 2;
}
