#include "support/x_display.h"

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/child_process.h"

namespace velquist::test {
namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

int CountOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// Waits until the daemon's log holds part at least count times.
bool WaitForLog(const std::string& log, const std::string& part, int count) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < end) {
    if (CountOf(ReadText(log), part) >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace

XDisplay::~XDisplay() {
  for (Daemon& daemon : m_daemons) StopChild(daemon.pid);
  StopChild(m_server);
  if (!m_folder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
}

bool XDisplay::Start(const std::vector<int>& dpis) {
  std::string pattern = (std::filesystem::temp_directory_path() / "x-display-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    m_error = "no folder for the settings daemons";
    return false;
  }
  m_folder = pattern;

  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    m_error = "no pipe";
    return false;
  }
  // The server picks a free display and writes its number to the pipe once it takes
  // connections.
  std::vector<std::string> words = {"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-nolisten",
                                    "tcp"};
  for (std::size_t i = 0; i < dpis.size(); ++i) {
    for (const std::string& w :
         {std::string("-screen"), std::to_string(i), std::string("1600x1000x24")}) {
      words.push_back(w);
    }
  }
  const int quiet = open("/dev/null", O_WRONLY);
  m_server = StartChild(words, quiet, quiet, pipeFds[1]);
  close(pipeFds[1]);
  if (quiet >= 0) close(quiet);
  const std::string number = ReadLine(pipeFds[0], 30000);
  close(pipeFds[0]);
  if (m_server < 0 || number.size() < 2) {
    m_error = "Xvfb did not start";
    return false;
  }
  m_name = ":" + number.substr(0, number.size() - 1);
  // The daemons below and the application made later connect to it.
  setenv("DISPLAY", m_name.c_str(), 1);

  for (std::size_t i = 0; i < dpis.size(); ++i) {
    Daemon daemon;
    daemon.config = m_folder + "/screen" + std::to_string(i) + ".conf";
    daemon.log = m_folder + "/screen" + std::to_string(i) + ".log";
    if (!WriteConfig(daemon, dpis[i])) {
      m_error = "cannot write " + daemon.config;
      return false;
    }
    const int log = open(daemon.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    daemon.pid = StartChild(
        {"xsettingsd", "--screen", std::to_string(i), "--config", daemon.config}, log, log);
    if (log >= 0) close(log);
    m_daemons.push_back(daemon);
    if (daemon.pid < 0 || !WaitForLog(daemon.log, "Took ownership of selection", 1)) {
      m_error =
          "xsettingsd did not start on screen " + std::to_string(i) + ": " + ReadText(daemon.log);
      return false;
    }
  }
  return true;
}

bool XDisplay::WriteConfig(const Daemon& daemon, int dpi) const {
  // Written aside and moved in place, so that the daemon never reads half a file.
  const std::string aside = daemon.config + ".new";
  {
    std::ofstream out(aside, std::ios::binary | std::ios::trunc);
    // Xft/DPI counts 1024ths of a dot per inch.
    out << "Xft/DPI " << dpi * 1024 << "\n";
    if (!out) return false;
  }
  std::error_code error;
  std::filesystem::rename(aside, daemon.config, error);
  return !error;
}

bool XDisplay::SetDpi(int screen, int dpi) {
  if (screen < 0 || static_cast<std::size_t>(screen) >= m_daemons.size()) return false;
  const Daemon& daemon = m_daemons[static_cast<std::size_t>(screen)];
  const int loads = CountOf(ReadText(daemon.log), "Loaded");
  if (!WriteConfig(daemon, dpi) || kill(daemon.pid, SIGHUP) != 0) return false;
  return WaitForLog(daemon.log, "Loaded", loads + 1);
}

}  // namespace velquist::test
