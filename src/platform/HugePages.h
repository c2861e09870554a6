#pragma once
// Memory of megabytes that is passed over many times (a large reply, the rows of a large load)
// costs far fewer address-translation misses on 2 MiB pages than on 4 KiB ones.

#include <cstddef>

namespace tarvine {

// Asks the kernel to back the range with huge pages where it next touches it: call it on memory
// just allocated and not yet written. Does nothing for ranges under a few megabytes, or where
// the system does not offer huge pages (then the memory stays as it is).
void preferHugePages(const void* data, std::size_t bytes);

}  // namespace tarvine
