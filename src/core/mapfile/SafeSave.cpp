#include "core/mapfile/SafeSave.h"

#include <cstdio>
#include <random>
#include <string>

namespace xemap {

namespace fs = std::filesystem;

namespace {

// A link is followed, so that the file it names is replaced rather than the link.
fs::path realTarget(const fs::path& target)
{
    std::error_code ec;
    if (fs::is_symlink(target, ec)) {
        auto resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            return resolved;
    }
    return target;
}

bool writableIfPresent(const fs::path& target)
{
    std::error_code ec;
    if (!fs::exists(target, ec))
        return !ec;
    if (!fs::is_regular_file(target, ec))
        return false;
    std::FILE* file = std::fopen(target.c_str(), "r+b");
    if (!file)
        return false;
    std::fclose(file);
    return true;
}

// Creates a new file beside target that no one else is using ("x": fail if it exists).
std::FILE* createTemporary(const fs::path& target, fs::path& name)
{
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 16; ++attempt) {
        // Short and hidden, so that a long target name still leaves room for it.
        name = target.parent_path() / (".xemap-save-" + std::to_string(random() % 1000000) + ".tmp");
        if (std::FILE* file = std::fopen(name.c_str(), "wbx"))
            return file;
    }
    return nullptr;
}

bool writeAndClose(std::FILE* file, std::string_view bytes)
{
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed;
}

}  // namespace

bool saveFileSafely(const fs::path& target, std::string_view bytes)
{
    const fs::path destination = realTarget(target);
    if (destination.empty() || !writableIfPresent(destination))
        return false;
    fs::path temporary;
    std::FILE* file = createTemporary(destination, temporary);
    if (!file)
        return false;
    std::error_code ec;
    bool ok = writeAndClose(file, bytes);
    if (ok) {
        // A replaced file keeps its permissions.
        const auto status = fs::status(destination, ec);
        if (!ec && fs::exists(status))
            fs::permissions(temporary, status.permissions(), ec);
        fs::rename(temporary, destination, ec);
        ok = !ec;
    }
    if (!ok)
        fs::remove(temporary, ec);
    return ok;
}

}  // namespace xemap
