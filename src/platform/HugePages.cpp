#include "platform/HugePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace tarvine {

void preferHugePages(const void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  if (bytes < 4 * kHugePage) return;
  // Only whole huge pages inside the range: the advice must not reach memory of others.
  const auto start = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t from = (start + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t to = (start + bytes) & ~(kHugePage - 1);
  if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace tarvine
