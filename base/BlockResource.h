// Memory handed out front to back from blocks made in one step each (see
// ByteBlock: on large pages where a block is big), and from the heap once
// they are used up. Nothing is given back before the resource goes: for
// containers that are filled once, to a size known ahead, and then kept.
#pragma once

#include "base/FileIo.h"

#include <cstddef>
#include <memory_resource>
#include <vector>

namespace tavimor {

class BlockResource final : public std::pmr::memory_resource {
public:
    BlockResource() = default;
    BlockResource(const BlockResource&) = delete;
    BlockResource& operator=(const BlockResource&) = delete;

    // Makes a block of size bytes the one handed out from next.
    void AddBlock(std::size_t size);

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    bool Holds(const void* p) const;

    std::vector<ByteBlock> blocks_;
    std::size_t used_ = 0; // of the last block
};

} // namespace tavimor
