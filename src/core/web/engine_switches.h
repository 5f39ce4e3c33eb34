// The browser engine's switches that the program itself always passes. Requests pass the
// program's request filter; these close the channels of a page that the filter never
// sees: sockets opened without a request, a redirect followed before the filter has
// answered for its new address, QUIC and WebRTC datagrams.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velquist {

// The fixed switches, each a whole word such as "--disable-quic".
const std::vector<std::string>& ConfinementSwitches();

// The host-resolver rules the engine runs with, given the rules of the command line (empty
// when none): the given rules that map the site's own host (the demo launcher and the tests
// point it at this machine) and then no address for any other name or address at all, so
// that nothing can connect anywhere but the site.
std::string ConfinedHostResolverRules(std::string_view given);

// The command line with the engine's part confined: every "--host-resolver-rules=" word is
// replaced by one with ConfinedHostResolverRules of the last of them, and the fixed switches
// follow. They go after "--webEngineArgs" (added when missing) and last, so that they win
// over a switch of the same name given earlier.
std::vector<std::string> WithConfinedEngine(std::vector<std::string> words);

}  // namespace velquist
