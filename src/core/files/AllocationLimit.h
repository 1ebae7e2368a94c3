#pragma once

#include "core/files/Fault.h"

#include <cstdint>
#include <string>

namespace xemap {

// The largest block one command may take at once (a file read whole, a tile sheet, a
// picture). Far above what the program needs; a block over it is refused as if memory
// had run out, so that the command ends with a message instead of the system ending
// the program. Tests lower it to see commands meet the end of memory.
inline constexpr std::uintmax_t kDefaultAllocationLimit = std::uintmax_t(1) << 30;

bool allocationFits(std::uintmax_t bytes);

// "Not enough memory to load the tileset": the fault a command ends with.
Fault outOfMemory(const std::string& doing, std::string file = {});

// Lowers (or raises) the limit while it lives.
class ScopedAllocationLimit {
public:
    explicit ScopedAllocationLimit(std::uintmax_t bytes);
    ~ScopedAllocationLimit();
    ScopedAllocationLimit(const ScopedAllocationLimit&) = delete;
    ScopedAllocationLimit& operator=(const ScopedAllocationLimit&) = delete;

private:
    std::uintmax_t previous_;
};

}  // namespace xemap
