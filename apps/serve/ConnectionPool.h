// SQLite connections shared by the request threads, one thread per connection at a time.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Database.h"

namespace tarvine::serve {

// Hands out connections to one database file and takes them back for reuse.
class ConnectionPool {
 public:
  // A pool for the file at path; connections are opened on demand.
  explicit ConnectionPool(std::string path);

  // A connection lent to one thread; it goes back to the pool when the lease ends.
  class Lease {
   public:
    Lease(ConnectionPool& pool, std::unique_ptr<Database> db);
    ~Lease();
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    // The lent connection.
    Database& operator*() const { return *db_; }

   private:
    ConnectionPool& pool_;
    std::unique_ptr<Database> db_;
  };

  // An idle connection, or a new one; throws DatabaseError when the file cannot be opened.
  Lease acquire();

 private:
  void release(std::unique_ptr<Database> db);

  std::string path_;
  std::mutex mutex_;
  std::vector<std::unique_ptr<Database>> idle_;
};

}  // namespace tarvine::serve
