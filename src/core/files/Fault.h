#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace xemap {

// Why a file could not be read or written, in the terms a message shows the user.
struct Fault {
    enum class Kind {
        NotFound,        // no file of that name: for some files (a registry, tips) not an error
        CannotOpen,      // unreadable or refused by the system
        NotRegularFile,  // a folder, pipe, device or (where links are refused) a link
        TooLarge,        // over the size limit of its kind of file
        CannotRead,      // opened, but reading failed
        CannotWrite,     // creating, writing, syncing or renaming failed
        Malformed,       // read whole, but not a file of the kind expected
        Declined,        // the user chose not to go on
        OutOfMemory,
    };
    Kind kind = Kind::CannotOpen;
    std::string file;    // the path as the caller named it; empty when no file is involved
    int line = 0;        // 1-based; 0 when the fault is not on a line
    std::string reason;  // the system's words ("Permission denied") or the reader's

    // "FILE: line N: reason", control bytes escaped, for a message or a terminal.
    std::string describe() const;
};

// The system's reason for the errno value, as strerror gives it.
std::string systemReason(int error);
Fault systemFault(Fault::Kind kind, std::string file, int error);

// Either a value or the fault that stopped it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Fault fault) : state_(std::in_place_index<1>, std::move(fault)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(state_); }
    const T& value() const& { return std::get<0>(state_); }
    T&& value() && { return std::get<0>(std::move(state_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const Fault& fault() const { return std::get<1>(state_); }

private:
    std::variant<T, Fault> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Fault fault) : fault_(std::move(fault)) {}

    bool ok() const { return !fault_; }
    explicit operator bool() const { return ok(); }
    const Fault& fault() const { return fault_.value(); }

private:
    std::optional<Fault> fault_;
};

}  // namespace xemap
