#include "core/files/AllocationLimit.h"

#include <atomic>

namespace xemap {

namespace {

std::atomic<std::uintmax_t> limit{kDefaultAllocationLimit};

}  // namespace

bool allocationFits(std::uintmax_t bytes) { return bytes <= limit.load(); }

Fault outOfMemory(const std::string& doing, std::string file)
{
    return {Fault::Kind::OutOfMemory, std::move(file), 0, "Not enough memory to " + doing + "."};
}

ScopedAllocationLimit::ScopedAllocationLimit(std::uintmax_t bytes) : previous_(limit.exchange(bytes)) {}

ScopedAllocationLimit::~ScopedAllocationLimit() { limit.store(previous_); }

}  // namespace xemap
