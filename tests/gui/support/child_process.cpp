#include "support/child_process.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace velquist::test {

pid_t StartChild(std::vector<std::string> words, int outFd, int errFd, int keepFd) {
  if (words.empty()) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    if (outFd >= 0) dup2(outFd, STDOUT_FILENO);
    if (errFd >= 0) dup2(errFd, STDERR_FILENO);
    // Nothing else of the test's leaks into the child.
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
      if (fd != keepFd) close(fd);
    }
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid < 0 ? -1 : pid;
}

void StopChild(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  pid = -1;
}

std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  char c = 0;
  while (line.empty() || line.back() != '\n') {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return {};
    if (read(fd, &c, 1) != 1) return {};
    line += c;
  }
  return line;
}

}  // namespace velquist::test
