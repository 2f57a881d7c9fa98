#pragma once
// An owning handle: closes what it holds exactly once. `Traits` names the handle type,
// its empty value and how to close it.
#include <windows.h>
#include <objbase.h>

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
    // For a call that hands out a new handle through a pointer; what was held is closed first.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

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

struct FindTraits {
    using Handle = HANDLE;
    static Handle empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { FindClose(h); }
};

struct WindowTraits {
    using Handle = HWND;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { DestroyWindow(h); }
};

// Fonts, brushes, bitmaps and regions. A DC must let go of an object before it is deleted:
// select the previous one back, or delete the DC first.
template <typename H>
struct GdiTraits {
    using Handle = H;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { DeleteObject(h); }
};
struct MemoryDcTraits {
    using Handle = HDC;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle h) noexcept { DeleteDC(h); }
};

// One reference to a COM object; moved, never copied, so it is released exactly once.
template <typename T>
struct ComTraits {
    using Handle = T*;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle p) noexcept { p->Release(); }
};

// Memory the system allocated for the caller: with LocalAlloc (CommandLineToArgvW), or with
// the COM task allocator (SHGetKnownFolderPath).
template <typename T>
struct LocalMemoryTraits {
    using Handle = T;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle p) noexcept { LocalFree(p); }
};
template <typename T>
struct TaskMemoryTraits {
    using Handle = T;
    static Handle empty() noexcept { return nullptr; }
    static void close(Handle p) noexcept { CoTaskMemFree(p); }
};

// COM on the calling thread while this lives, undone only if this call did it.
class ComApartment {
public:
    ComApartment() noexcept : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

using OwnedFile = Owned<FileTraits>;
using OwnedHandle = Owned<KernelTraits>;
using OwnedFind = Owned<FindTraits>;
using OwnedWindow = Owned<WindowTraits>;
template <typename H>
using OwnedGdi = Owned<GdiTraits<H>>;
using OwnedDc = Owned<MemoryDcTraits>;
template <typename T>
using ComPtr = Owned<ComTraits<T>>;
template <typename T>
using LocalMemory = Owned<LocalMemoryTraits<T>>;
template <typename T>
using TaskMemory = Owned<TaskMemoryTraits<T>>;

}  // namespace vorlane::win32
