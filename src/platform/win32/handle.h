#pragma once
// An owning handle: closes what it holds exactly once. `Traits` names the handle type,
// its empty value and how to close it.
#include <windows.h>

#include <utility>

namespace vorlane::win32 {

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() noexcept = default;
    explicit Owned(Handle handle) noexcept : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Traits::empty(); }

    Handle release() noexcept { return std::exchange(handle_, Traits::empty()); }
    void reset(Handle handle = Traits::empty()) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::empty()) Traits::close(old);
    }

private:
    Handle handle_ = Traits::empty();
};

// CreateFileW gives INVALID_HANDLE_VALUE on failure, most other kernel calls a null handle.
struct FileTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { CloseHandle(h); }
};
struct KernelTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { CloseHandle(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { DestroyWindow(h); }
};

using OwnedFile = Owned<FileTraits>;
using OwnedHandle = Owned<KernelTraits>;
using OwnedWindow = Owned<WindowTraits>;

}  // namespace vorlane::win32
