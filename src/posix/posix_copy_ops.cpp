#include "posix/posix_copy_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "posix/posix_file_ops.h"

namespace vorlane {
namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }

private:
    int fd_;
};

// Opened without waiting (O_NONBLOCK: a FIFO does not wait for a writer), kept only when a
// regular file.
int openIfRegular(const Text& path, int flags, mode_t mode = 0) {
    const int fd = ::open(nativePath(path).c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    struct stat st {};
    if (fd < 0 || (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))) return fd;
    ::close(fd);
    return -1;
}

class Reader final : public FileReader {
public:
    explicit Reader(int fd) : fd_(fd) {}
    std::optional<std::size_t> read(std::uint8_t* into, std::size_t size) override {
        for (;;) {
            const ssize_t n = ::read(fd_.get(), into, size);
            if (n >= 0) return static_cast<std::size_t>(n);
            if (errno != EINTR) return std::nullopt;
        }
    }

private:
    Descriptor fd_;
};

class Writer final : public FileWriter {
public:
    explicit Writer(int fd) : fd_(fd) {}
    bool write(const std::uint8_t* bytes, std::size_t size) override {
        while (size > 0) {
            const ssize_t n = ::write(fd_.get(), bytes, size);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            bytes += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool finish() override { return ::fsync(fd_.get()) == 0 && fd_.close(); }

private:
    Descriptor fd_;
};

}  // namespace

std::unique_ptr<FileReader> PosixCopyOps::openRegular(const Text& path) {
    const int fd = openIfRegular(path, O_RDONLY);
    return fd < 0 ? nullptr : std::make_unique<Reader>(fd);
}

std::unique_ptr<FileWriter> PosixCopyOps::createRegular(const Text& path) {
    const int fd = openIfRegular(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    return fd < 0 ? nullptr : std::make_unique<Writer>(fd);
}

bool PosixCopyOps::moveOver(const Text& from, const Text& to) { return PosixFileOps().moveOver(from, to); }

bool PosixCopyOps::remove(const Text& path) { return PosixFileOps().remove(path); }

}  // namespace vorlane
