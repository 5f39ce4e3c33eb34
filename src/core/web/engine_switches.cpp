#include "web/engine_switches.h"

#include <algorithm>

#include "site_constants.h"

namespace velquist {
namespace {

constexpr std::string_view kRulesSwitch = "--host-resolver-rules=";
constexpr std::string_view kEngineArgs = "--webEngineArgs";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// True for "MAP <SiteHost> <anything>", words separated by spaces.
bool MapsTheSite(std::string_view rule) {
  constexpr std::string_view map = "MAP ";
  if (!rule.starts_with(map)) return false;
  std::string_view rest = Trimmed(rule.substr(map.size()));
  const std::size_t space = rest.find(' ');
  return space != std::string_view::npos && rest.substr(0, space) == SiteHost;
}

}  // namespace

const std::vector<std::string>& ConfinementSwitches() {
  static const std::vector<std::string> switches = {
      // WebTransport sends QUIC datagrams straight from the page and from every kind of
      // worker; no request of it reaches the filter. Without the feature the constructor
      // does not exist.
      "--disable-blink-features=WebTransport,SharedWorker",
      // No QUIC at all: an Alt-Svc answer of the site could otherwise move the site's own
      // requests to another host over UDP, and the filter judges only their URLs.
      "--disable-quic",
      // WebRTC may use UDP only through a proxy, which the program never sets: no STUN or
      // TURN datagrams leave the machine. (Its TCP, and every other socket, meets the
      // host-resolver rules.)
      "--force-webrtc-ip-handling-policy=disable_non_proxied_udp",
  };
  return switches;
}

std::string ConfinedHostResolverRules(std::string_view given) {
  std::string kept;
  while (!given.empty()) {
    const std::size_t comma = given.find(',');
    const std::string_view rule = Trimmed(given.substr(0, comma));
    given = comma == std::string_view::npos ? std::string_view() : given.substr(comma + 1);
    if (!MapsTheSite(rule)) continue;
    kept += rule;
    kept += ", ";
  }
  // The first rule that matches a name decides; an excluded name is never rewritten and
  // resolves as usual. Addresses written as numbers match "*" too.
  if (kept.empty()) return "MAP * ~NOTFOUND, EXCLUDE " + std::string(SiteHost);
  return kept + "MAP * ~NOTFOUND";
}

std::vector<std::string> WithConfinedEngine(std::vector<std::string> words) {
  std::string given;
  std::erase_if(words, [&](const std::string& word) {
    if (!word.starts_with(kRulesSwitch)) return false;
    given = word.substr(kRulesSwitch.size());
    return true;
  });
  if (std::find(words.begin(), words.end(), kEngineArgs) == words.end()) {
    words.emplace_back(kEngineArgs);
  }
  words.insert(words.end(), ConfinementSwitches().begin(), ConfinementSwitches().end());
  words.push_back(std::string(kRulesSwitch) + ConfinedHostResolverRules(given));
  return words;
}

}  // namespace velquist
