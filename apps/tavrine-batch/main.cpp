// The headless batch runner.
#include <cstdio>

int main(int, char**) {
  std::fputs("usage: tavrine-batch COMMAND ...\n", stderr);
  return 2;
}
