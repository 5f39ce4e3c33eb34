// An X server of the test's own with screens of the DPIs it asks for. Each screen's DPI is
// given by an XSETTINGS daemon (Xft/DPI), as a desktop's settings daemon gives it, so a
// screen's DPI can also be changed while the program runs. Start it before the application
// object: it points DISPLAY at itself.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace velquist::test {

class XDisplay {
 public:
  XDisplay() = default;
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // Starts the server with one 1600 x 1000 screen for each DPI and the daemons; false, with
  // Error() saying why, when something did not come up.
  bool Start(const std::vector<int>& dpis);
  // ":N"
  const std::string& Name() const { return m_name; }
  const std::string& Error() const { return m_error; }

  // Gives screen a new DPI, which the daemon announces to every program on the display;
  // true once the daemon has taken it.
  bool SetDpi(int screen, int dpi);

 private:
  struct Daemon {
    pid_t pid = -1;
    std::string config, log;
  };
  bool WriteConfig(const Daemon& daemon, int dpi) const;

  pid_t m_server = -1;
  std::string m_name, m_error, m_folder;
  std::vector<Daemon> m_daemons;
};

}  // namespace velquist::test
