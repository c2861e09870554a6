#include "AccessPolicy.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <stdexcept>

namespace tarvine::serve {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x | 0x20) == (y | 0x20);
         });
}

// The host part of a Host header value or bind address: brackets and port removed.
std::string_view hostPart(std::string_view host) {
  if (host.starts_with('[')) {
    const std::size_t close = host.find(']');
    return close == std::string_view::npos ? std::string_view() : host.substr(1, close - 1);
  }
  const std::size_t colon = host.find(':');
  // More than one colon: an IPv6 address without brackets (a bind address), kept whole.
  if (colon != std::string_view::npos && host.find(':', colon + 1) == std::string_view::npos) {
    return host.substr(0, colon);
  }
  return host;
}

}  // namespace

std::optional<IpAddress> IpAddress::parse(std::string_view text) {
  if (text.empty() || text.size() >= INET6_ADDRSTRLEN) return std::nullopt;
  char buffer[INET6_ADDRSTRLEN] = {};
  std::memcpy(buffer, text.data(), text.size());
  IpAddress address;
  if (inet_pton(AF_INET, buffer, address.bytes.data()) == 1) return address;
  if (inet_pton(AF_INET6, buffer, address.bytes.data()) != 1) return std::nullopt;
  static constexpr std::uint8_t kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  if (std::memcmp(address.bytes.data(), kMappedPrefix, sizeof kMappedPrefix) == 0) {
    std::memmove(address.bytes.data(), address.bytes.data() + 12, 4);
    std::fill(address.bytes.begin() + 4, address.bytes.end(), std::uint8_t{0});
    return address;
  }
  address.v6 = true;
  return address;
}

bool IpAddress::loopback() const {
  if (!v6) return bytes[0] == 127;
  return std::all_of(bytes.begin(), bytes.end() - 1, [](std::uint8_t b) { return b == 0; }) &&
         bytes[15] == 1;
}

Network Network::parse(std::string_view text) {
  const std::string_view written = trimmed(text);
  const std::size_t slash = written.find('/');
  const std::string_view addressText = written.substr(0, slash);
  const std::optional<IpAddress> address = IpAddress::parse(addressText);
  if (!address) {
    throw std::invalid_argument("\"" + std::string(written) + "\" is not an IPv4 or IPv6 network");
  }
  Network network{*address, address->v6 ? 128 : 32};
  if (slash != std::string_view::npos) {
    const std::string_view prefixText = written.substr(slash + 1);
    int prefix = -1;
    const auto [end, error] =
        std::from_chars(prefixText.data(), prefixText.data() + prefixText.size(), prefix);
    if (error != std::errc() || end != prefixText.data() + prefixText.size() || prefix < 0 ||
        prefix > network.prefix) {
      throw std::invalid_argument("\"" + std::string(written) + "\" has no valid prefix length");
    }
    network.prefix = prefix;
  }
  return network;
}

bool Network::contains(const IpAddress& other) const {
  if (other.v6 != address.v6) return false;
  const int wholeBytes = prefix / 8;
  if (!std::equal(address.bytes.begin(), address.bytes.begin() + wholeBytes, other.bytes.begin())) {
    return false;
  }
  const int restBits = prefix % 8;
  if (restBits == 0) return true;
  const auto mask = static_cast<std::uint8_t>(0xff << (8 - restBits));
  return (address.bytes[wholeBytes] & mask) == (other.bytes[wholeBytes] & mask);
}

AllowList AllowList::parse(std::string_view text) {
  AllowList list;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    list.networks_.push_back(Network::parse(text.substr(start, comma - start)));
    start = comma + 1;
  }
  return list;
}

bool AllowList::allows(std::string_view address) const {
  if (networks_.empty()) return true;
  const std::optional<IpAddress> parsed = IpAddress::parse(address);
  return parsed && std::any_of(networks_.begin(), networks_.end(),
                               [&](const Network& network) { return network.contains(*parsed); });
}

bool isLoopbackHost(std::string_view host) {
  const std::string_view name = hostPart(host);
  if (equalsIgnoringCase(name, "localhost")) return true;
  const std::optional<IpAddress> address = IpAddress::parse(name);
  return address && address->loopback();
}

std::optional<std::string_view> plainHostPart(std::string_view value) {
  const auto digits = [](std::string_view text) {
    return text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const std::size_t hostEnd = value.starts_with('[') ? value.find(']') + 1 : value.find(':');
  const std::string_view host = value.substr(0, hostEnd);
  if (hostEnd < value.size() && (value[hostEnd] != ':' || !digits(value.substr(hostEnd + 1)))) {
    return std::nullopt;
  }
  if (host.starts_with('[')) {
    const std::optional<IpAddress> address = IpAddress::parse(host.substr(1, host.size() - 2));
    if (hostEnd == 0 || !address || !address->v6) return std::nullopt;
    return host;
  }
  const bool name =
      !host.empty() && host.size() < 256 && std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' || c == '_';
      });
  return name ? std::optional(host) : std::nullopt;
}

std::vector<std::string> parseServerNames(std::string_view text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string_view name = trimmed(text.substr(start, comma - start));
    if (plainHostPart(name) != name || name.starts_with('[')) {
      throw std::invalid_argument("\"" + std::string(name) + "\" is not a host name");
    }
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(std::move(lower));
    start = comma + 1;
  }
  return names;
}

bool hostAccepted(std::string_view host, bool loopbackBind,
                  const std::vector<std::string>& serverNames) {
  if (std::any_of(serverNames.begin(), serverNames.end(),
                  [&](const std::string& name) { return equalsIgnoringCase(name, host); })) {
    return true;
  }
  if (loopbackBind) return isLoopbackHost(host);
  const std::string_view bare = host.starts_with('[') ? host.substr(1, host.size() - 2) : host;
  return equalsIgnoringCase(bare, "localhost") || IpAddress::parse(bare).has_value();
}

}  // namespace tarvine::serve
