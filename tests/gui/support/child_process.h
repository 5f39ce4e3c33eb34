// Child processes of a test (servers and daemons it needs), started before the application
// object exists and stopped by their process id.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velquist::test {

// Runs words[0] (found on PATH unless it holds a slash) with the other words, its standard
// output to outFd and its standard error to errFd where given; keepFd stays open in the
// child. The child's id, or -1.
pid_t StartChild(std::vector<std::string> words, int outFd = -1, int errFd = -1, int keepFd = -1);
// Ends the child (SIGTERM) and waits for it; pid becomes -1.
void StopChild(pid_t& pid);

// Reads one line (with its newline) from fd; empty on time-out, end of file or error.
std::string ReadLine(int fd, int timeoutMs);

}  // namespace velquist::test
