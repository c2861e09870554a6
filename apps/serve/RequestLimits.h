// What one request may cost the route service, and how long a connection may take.
#pragma once

#include <chrono>
#include <cstddef>

namespace tarvine::serve {

// Largest request body accepted, in bytes, however it is framed (Content-Length or chunked).
// The largest request the control sends, a save of 32,767 changed segments (an update and a
// history statement each), is about 9 MB; 16 MiB leaves room for clients that escape more.
inline constexpr std::size_t kMaxRequestBytes = std::size_t{16} << 20;
// Largest request head (request line and headers), in bytes.
inline constexpr std::size_t kMaxHeaderBytes = std::size_t{16} << 10;
// Most elements and attributes a request body may hold: twice the 65,534 strings of the
// largest save. Parsed, each costs the XML tree about 64 bytes.
inline constexpr std::size_t kMaxRequestElements = 131'072;
inline constexpr std::size_t kMaxRequestAttributes = 131'072;
// Deepest element nesting accepted in a request body.
inline constexpr int kMaxRequestDepth = 256;

// The limits of the HTTP side; the defaults suit an operator, tests shorten the deadlines.
struct ServerLimits {
  // From the connection (or the end of the previous reply) to the end of the request head.
  std::chrono::milliseconds headerDeadline{10'000};
  // From the end of the head to the end of the body.
  std::chrono::milliseconds bodyDeadline{60'000};
  // For writing one reply.
  std::chrono::milliseconds writeDeadline{60'000};
  // Connections open at once, in all and from one client address; further ones are closed at
  // once.
  std::size_t maxConnections = 512;
  std::size_t maxConnectionsPerClient = 64;
  // Request bodies over 64 KiB held in memory at once, over all connections (eight of the
  // largest bodies) and from one client address (two of them); a body that would pass either
  // is refused as "busy".
  std::size_t maxBufferedBodyBytes = 8 * kMaxRequestBytes;
  std::size_t maxBufferedBodyBytesPerClient = 2 * kMaxRequestBytes;
  // Replies over 64 KiB held in memory until written, over all connections and to one client
  // address; a reply that would pass either is replaced by a "busy" fault. The largest reply,
  // every order of a 32,767-segment load, is about 28 MB.
  std::size_t maxHeldReplyBytes = std::size_t{128} << 20;
  std::size_t maxHeldReplyBytesPerClient = std::size_t{64} << 20;
  // Threads that answer requests (SQLite work); the network is served by one more thread. One
  // client address's requests take at most workersPerClient of them at once, and costly ones
  // (the orders query) of all addresses leave one of them to the others.
  unsigned workers = 4;
  unsigned workersPerClient = 2;
};

}  // namespace tarvine::serve
