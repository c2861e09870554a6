#include "ConnectionPool.h"

namespace tarvine::serve {

ConnectionPool::ConnectionPool(std::string path) : path_(std::move(path)) {}

ConnectionPool::Lease::Lease(ConnectionPool& pool, std::unique_ptr<Database> db)
    : pool_(pool), db_(std::move(db)) {}

ConnectionPool::Lease::~Lease() {
  pool_.release(std::move(db_));
}

ConnectionPool::Lease ConnectionPool::acquire() {
  {
    const std::lock_guard lock(mutex_);
    if (!idle_.empty()) {
      std::unique_ptr<Database> db = std::move(idle_.back());
      idle_.pop_back();
      return Lease(*this, std::move(db));
    }
  }
  return Lease(*this, std::make_unique<Database>(path_));
}

void ConnectionPool::release(std::unique_ptr<Database> db) {
  db->resetStatements();
  const std::lock_guard lock(mutex_);
  idle_.push_back(std::move(db));
}

}  // namespace tarvine::serve
