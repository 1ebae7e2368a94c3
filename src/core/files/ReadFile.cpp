#include "core/files/ReadFile.h"

#include "core/files/AllocationLimit.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace xemap {

namespace {

// Closes the descriptor on every way out of the read.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

Fault fault(Fault::Kind kind, const std::filesystem::path& file, std::string reason)
{
    return {kind, file.string(), 0, std::move(reason)};
}

int openFlags(Links links)
{
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (links == Links::Refuse)
        flags |= O_NOFOLLOW;
    return flags;
}

}  // namespace

std::string sizeLimitText(std::uintmax_t limit)
{
    constexpr std::uintmax_t kMegabyte = 1024 * 1024;
    return "the file is larger than "
           + (limit % kMegabyte == 0 ? std::to_string(limit / kMegabyte) + " MB" : std::to_string(limit) + " bytes");
}

Result<std::string> readFile(const std::filesystem::path& file, std::uintmax_t limit, Links links)
{
    const Descriptor fd(::open(file.c_str(), openFlags(links)));
    if (fd.get() < 0) {
        if (errno == ELOOP && links == Links::Refuse)
            return fault(Fault::Kind::NotRegularFile, file, "a symbolic link");
        return systemFault(errno == ENOENT ? Fault::Kind::NotFound : Fault::Kind::CannotOpen, file.string(), errno);
    }
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0)
        return systemFault(Fault::Kind::CannotRead, file.string(), errno);
    if (!S_ISREG(status.st_mode))
        return fault(Fault::Kind::NotRegularFile, file, "not a regular file");
    if (static_cast<std::uintmax_t>(status.st_size) > limit)
        return fault(Fault::Kind::TooLarge, file, sizeLimitText(limit));
    if (!allocationFits(static_cast<std::uintmax_t>(status.st_size) + 1))
        return outOfMemory("read the file", file.string());

    std::string bytes;
    try {
        // One byte more than the limit is read for, so that a file grown since is refused too.
        bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
        std::size_t filled = 0;
        for (;;) {
            if (filled == bytes.size()) {
                if (filled > limit)
                    return fault(Fault::Kind::TooLarge, file, sizeLimitText(limit));
                bytes.resize(std::min<std::uintmax_t>(bytes.size() * 2, limit + 1));
            }
            const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return systemFault(Fault::Kind::CannotRead, file.string(), errno);
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        if (filled > limit)
            return fault(Fault::Kind::TooLarge, file, sizeLimitText(limit));
        bytes.resize(filled);
    } catch (const std::bad_alloc&) {
        return outOfMemory("read the file", file.string());
    }
    return bytes;
}

}  // namespace xemap
