// tavrine-batch render/map run in tavrine-batch-picture, found beside the running executable so
// that it is the one of the same build, not whatever PATH holds.
#include "picture_launch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace tavrine::batch {

namespace {

constexpr const char* kPictureProgram = "tavrine-batch-picture";

// The folder of this executable, with its trailing slash, or empty when it is unknown.
std::string OwnFolder() {
  std::vector<char> buffer(4096);
  const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size() - 1) {
    return {};
  }
  const std::string path(buffer.data(), static_cast<size_t>(length));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int ExecPictureProgram(char** argv) {
  const std::string program = OwnFolder() + kPictureProgram;
  std::fflush(nullptr);
  std::vector<char*> picture_argv;
  picture_argv.push_back(const_cast<char*>(program.c_str()));
  for (char** word = argv + 1; *word != nullptr; ++word) {
    picture_argv.push_back(*word);
  }
  picture_argv.push_back(nullptr);
  execv(program.c_str(), picture_argv.data());
  std::fprintf(stderr, "tavrine-batch: 画像を描くプログラム %s を起動できません: %s\n",
               program.c_str(), std::strerror(errno));
  return 2;
}

}  // namespace tavrine::batch
