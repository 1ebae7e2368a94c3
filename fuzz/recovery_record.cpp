// Reads arbitrary bytes as a crash-recovery record and as a recovery lock's content.
#include "core/recovery/RecoveryLock.h"
#include "core/recovery/RecoveryStore.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto record = xemap::parseRecoveryRecord(bytes)) {
        // What was read is what a record written from it reads back as.
        const auto again = xemap::parseRecoveryRecord(std::to_string(record->writtenAt) + "\n" + record->mapFileName);
        if (!again || again->writtenAt != record->writtenAt || again->mapFileName != record->mapFileName)
            __builtin_trap();
    }
    if (const auto holder = xemap::parseLockHolder(bytes)) {
        if (holder->pid <= 0 || holder->bootId.find('\n') != std::string::npos
            || holder->program.find('\n') != std::string::npos)
            __builtin_trap();
        xemap::holderIsRunning(*holder);
    }
    return 0;
}
