// Who may call the route service: the networks of --allow-from and the Host header checks that
// keep web pages from reaching the service through DNS rebinding.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine::serve {

// An IPv4 or IPv6 address; an IPv4 address mapped into IPv6 (::ffff:a.b.c.d) counts as IPv4.
struct IpAddress {
  bool v6 = false;
  std::array<std::uint8_t, 16> bytes{};  // IPv4 uses the first four

  // The address written as text ("10.1.2.3", "fd00::1"); nothing for any other text.
  static std::optional<IpAddress> parse(std::string_view text);
  // True for 127.0.0.0/8 and ::1.
  bool loopback() const;
};

// An address and a prefix length, e.g. 10.0.0.0/8 or fd00::/8; an address alone is one host.
struct Network {
  IpAddress address;
  int prefix = 0;

  // Reads "ADDRESS[/PREFIX]"; throws std::invalid_argument with a readable message.
  static Network parse(std::string_view text);
  // True when the address lies in this network (IPv4 and IPv6 never match each other).
  bool contains(const IpAddress& other) const;
};

// The networks allowed to call; an empty list allows every address.
class AllowList {
 public:
  AllowList() = default;
  // Reads "CIDR[,CIDR...]" (blanks around the commas allowed); throws std::invalid_argument for
  // an empty list or a network that cannot be read.
  static AllowList parse(std::string_view text);

  // True when the list is empty or the address (as text) lies in one of its networks; false
  // for a text that is not an address.
  bool allows(std::string_view address) const;
  bool empty() const { return networks_.empty(); }

 private:
  std::vector<Network> networks_;
};

// True when a host text names this machine's loopback: "localhost" (any letter case),
// 127.0.0.0/8 or ::1, as a bind address ("::1") or a Host header value with or without a port
// ("localhost:8080", "[::1]:80").
bool isLoopbackHost(std::string_view host);

// The host part of a Host header value that is a plain host[:port]: a name of letters, digits,
// '-', '.' and '_', an IPv4 address, or an IPv6 address in brackets, then at most a colon and
// digits. Nothing for any other text ("localhost:80@evil", "[::1]evil", "").
std::optional<std::string_view> plainHostPart(std::string_view value);

// The names of --server-name: "NAME[,NAME...]" (blanks around the commas allowed), in lower
// case; throws std::invalid_argument for an empty list or a text that is not a plain name.
std::vector<std::string> parseServerNames(std::string_view text);

// Whether requests naming host (a Host header's host part) may reach a service bound to a
// loopback address (loopbackBind) or to another one. A loopback bind takes only loopback hosts,
// so that a web page cannot reach it through DNS rebinding (which needs a name of the page's
// own); another bind takes IP addresses and "localhost". Both take the names of serverNames.
bool hostAccepted(std::string_view host, bool loopbackBind,
                  const std::vector<std::string>& serverNames);

}  // namespace tarvine::serve
