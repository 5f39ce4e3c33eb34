// The substitute site for end-to-end tests: started as a child process on a free port,
// stopped and started again on the same port, switched through its control port, and
// asked which requests reached it. Works before the application object exists, since the
// browser engine's switches must name the site's port and certificate.
#pragma once

#include <sys/types.h>

#include <QStringList>
#include <string>
#include <vector>

namespace velquist::test {

// One request as the site logged it.
struct SiteRequest {
  std::string method, path, query;
};

class DemoSite {
 public:
  DemoSite() = default;
  ~DemoSite();
  DemoSite(const DemoSite&) = delete;
  DemoSite& operator=(const DemoSite&) = delete;

  // The size of the generated universe at the next start: rows of each screener, and the
  // columns each is filled up to (0: its own columns only).
  void SetUniverse(int stocks, int etfs, int columns) {
    m_stocks = stocks;
    m_etfs = etfs;
    m_columns = columns;
  }
  // Starts the site (on its earlier port when it ran before); false when it did not come up.
  bool Start();
  // Stops it and waits for the process to end.
  void Stop();
  bool Running() const { return m_pid > 0; }

  int Port() const { return m_port; }
  const std::string& Spki() const { return m_spki; }

  // GET on the control port; the answer's body, or empty on failure.
  std::string Control(const std::string& pathAndQuery) const;
  // The requests that reached the site since the last ClearRequests, oldest first; false
  // when the site did not answer with its log.
  bool Requests(std::vector<SiteRequest>& requests) const;
  // How many requests for path reached the site since the last ClearRequests.
  int RequestCount(const std::string& path) const;
  void ClearRequests() const;

  // The browser engine's switches that map the site's host (and extraHosts, each to its
  // port) to this machine and trust the site's certificate.
  QStringList EngineSwitches(const QStringList& extraMappings = {}) const;

 private:
  pid_t m_pid = -1;
  int m_port = 0;
  int m_controlPort = 0;
  std::string m_spki;
  int m_stocks = 300;
  int m_etfs = 150;
  int m_columns = 0;
};

// A TCP (or UDP) port on 127.0.0.1 that was free a moment ago.
int FreeLocalPort(bool udp = false);
// Blocking HTTP GET to 127.0.0.1:port; the body, or empty on failure.
std::string HttpGet(int port, const std::string& pathAndQuery);

}  // namespace velquist::test
