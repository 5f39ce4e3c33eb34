#include "support/demo_site.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "data/json.h"
#include "site_constants.h"
#include "support/child_process.h"

namespace velquist::test {
namespace {

int ConnectLocal(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int FreeLocalPort(bool udp) {
  const int fd = socket(AF_INET, udp ? SOCK_DGRAM : SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

std::string HttpGet(int port, const std::string& pathAndQuery) {
  const int fd = ConnectLocal(port);
  if (fd < 0) return {};
  const std::string request =
      "GET " + pathAndQuery + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
    close(fd);
    return {};
  }
  std::string answer;
  char buffer[4096];
  ssize_t n = 0;
  while ((n = read(fd, buffer, sizeof buffer)) > 0) answer.append(buffer, static_cast<size_t>(n));
  close(fd);
  const auto body = answer.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : answer.substr(body + 4);
}

DemoSite::~DemoSite() { Stop(); }

bool DemoSite::Start() {
  if (Running()) return true;
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return false;
  const std::string program = std::string(VELQUIST_SOURCE_DIR) + "/demo-site/serve";
  std::vector<std::string> words = {program,
                                    "--port",
                                    std::to_string(m_port),
                                    "--control-port",
                                    std::to_string(m_controlPort),
                                    "--stocks",
                                    std::to_string(m_stocks),
                                    "--etfs",
                                    std::to_string(m_etfs),
                                    "--columns",
                                    std::to_string(m_columns)};
  const pid_t pid = StartChild(std::move(words), pipeFds[1]);
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    return false;
  }
  m_pid = pid;
  // The one JSON line the site prints once it listens.
  const std::string line = ReadLine(pipeFds[0], 60000);
  close(pipeFds[0]);
  JsonValue info;
  if (line.empty() || !ParseJson(line, info) || info.Member("port").Number() <= 0) {
    Stop();
    return false;
  }
  m_port = static_cast<int>(info.Member("port").Number());
  m_controlPort = static_cast<int>(info.Member("control_port").Number());
  m_spki = info.Member("spki").Text();
  return true;
}

void DemoSite::Stop() { StopChild(m_pid); }

std::string DemoSite::Control(const std::string& pathAndQuery) const {
  return HttpGet(m_controlPort, pathAndQuery);
}

bool DemoSite::Requests(std::vector<SiteRequest>& requests) const {
  requests.clear();
  JsonValue answer;
  if (!ParseJson(Control("/requests"), answer)) return false;
  // The answer is a list, or an object holding the list under "requests".
  const JsonValue& list = answer.Kind() == JsonKind::Array ? answer : answer.Member("requests");
  for (const JsonValue& request : list.Elements()) {
    requests.push_back({request.Member("method").Text(), request.Member("path").Text(),
                        request.Member("query").Text()});
  }
  return true;
}

int DemoSite::RequestCount(const std::string& path) const {
  std::vector<SiteRequest> requests;
  if (!Requests(requests)) return -1;
  int count = 0;
  for (const SiteRequest& request : requests) {
    if (request.path == path) ++count;
  }
  return count;
}

void DemoSite::ClearRequests() const { Control("/requests?clear=1"); }

QStringList DemoSite::EngineSwitches(const QStringList& extraMappings) const {
  QStringList rules;
  rules << QStringLiteral("MAP %1 127.0.0.1:%2")
               .arg(QString::fromUtf8(SiteHost.data(), qsizetype(SiteHost.size())))
               .arg(m_port);
  rules << extraMappings;
  return {
      QStringLiteral("--host-resolver-rules=") + rules.join(QStringLiteral(", ")),
      QStringLiteral("--ignore-certificate-errors-spki-list=") + QString::fromStdString(m_spki)};
}

}  // namespace velquist::test
