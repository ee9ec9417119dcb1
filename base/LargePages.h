// Memory for the big buffers of a production (the document read whole, the
// long pages built in memory) on the system's large pages where it offers
// them on request: a 2 MB page costs one fault and one clearing where 4 KB
// pages cost 512 of each, which on a virtual machine is most of what making
// room for a few megabytes costs.
#pragma once

#include <cstddef>

namespace tavimor {

// The span of addresses whose pages may be large ones: 2 MB on x86-64 and
// most 64-bit ARM systems.
inline constexpr std::size_t kLargePage = std::size_t {2} << 20;

// Fresh private memory of size bytes, its pages made before it returns
// (large ones for every whole 2 MB it spans), mapped on its own and given
// back with UnmapPages(data, size). std::bad_alloc when there is no room.
char* MapPopulatedPages(std::size_t size);
void UnmapPages(char* data, std::size_t size);

// Asks for large pages over the whole 2 MB spans inside [from, from+length)
// that nothing has touched yet; a hint, without effect where the system
// does not take it.
void AdviseLargePages(void* from, std::size_t length);

} // namespace tavimor
