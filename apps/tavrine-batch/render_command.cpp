// "render": the four views of a model file painted into one PNG.
#include <cstdio>

#include "commands.h"

namespace tavrine::batch {

int RenderCommand(const std::vector<std::string>&) {
  std::fputs("tavrine-batch: render is not built yet\n", stderr);
  return 2;
}

}  // namespace tavrine::batch
