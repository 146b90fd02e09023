// fork and exec per line, waitpid for any child to keep `jobs` running.
#include "job_runner.h"

#include <sys/wait.h>
#include <unistd.h>

namespace tavrine::batch {

namespace {

pid_t StartLine(const std::string& line) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", line.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return pid;
}

}  // namespace

int RunCommandLines(const std::vector<std::string>& lines, int jobs, Progress& progress) {
  progress.Open("sweep", "パラメータスイープ");
  progress.StartBar(std::to_string(lines.size()) + " 件の変形を計算中");
  int failed = 0, running = 0;
  size_t next = 0, finished = 0;
  while (finished < lines.size()) {
    while (running < jobs && next < lines.size()) {
      if (StartLine(lines[next++]) < 0) {
        ++failed, ++finished;
      } else {
        ++running;
      }
    }
    int status = 0;
    if (running == 0 || waitpid(-1, &status, 0) < 0) {
      break;
    }
    --running, ++finished;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      ++failed;
    }
    progress.SetBarFraction(static_cast<double>(finished) / static_cast<double>(lines.size()));
  }
  progress.Close();
  return failed;
}

}  // namespace tavrine::batch
