#include "base/BlockResource.h"

#include <functional>
#include <memory>

namespace tavimor {

void BlockResource::AddBlock(std::size_t size)
{
    blocks_.emplace_back(size);
    used_ = 0;
}

void* BlockResource::do_allocate(std::size_t bytes, std::size_t alignment)
{
    if (!blocks_.empty()) {
        ByteBlock& block = blocks_.back();
        void* at = block.Data() + used_;
        std::size_t room = block.Size() - used_;
        if (std::align(alignment, bytes, at, room)) {
            used_ = static_cast<std::size_t>(static_cast<char*>(at) - block.Data()) + bytes;
            return at;
        }
    }
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
}

void BlockResource::do_deallocate(void* p, std::size_t bytes, std::size_t alignment)
{
    if (!Holds(p))
        std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
}

bool BlockResource::Holds(const void* p) const
{
    const std::less_equal<const void*> notAfter;
    for (const ByteBlock& block : blocks_)
        if (notAfter(block.Data(), p) && !notAfter(block.Data() + block.Size(), p))
            return true;
    return false;
}

} // namespace tavimor
