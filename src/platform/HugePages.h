#pragma once
// Memory of megabytes that is passed over many times (a large reply, the rows of a large load)
// costs far fewer address-translation misses on 2 MiB pages than on 4 KiB ones.

#include <cstddef>

namespace tarvine {

// Asks the kernel to back the range with huge pages where it next touches it: call it on memory
// just allocated and not yet written. Does nothing for ranges under a few megabytes, or where
// the system does not offer huge pages (then the memory stays as it is).
void preferHugePages(const void* data, std::size_t bytes);

// Reserves room for `size` elements in a string or vector; memory the reservation newly takes is
// advised onto huge pages before anything is written to it.
template <typename Container>
void reserveOnHugePages(Container& container, std::size_t size) {
  const std::size_t before = container.capacity();
  container.reserve(size);
  if (container.capacity() != before) {
    preferHugePages(container.data(), container.capacity() * sizeof(*container.data()));
  }
}

}  // namespace tarvine
