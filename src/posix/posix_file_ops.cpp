#include "posix/posix_file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace vorlane {

std::string nativePath(const Text& path) {
    std::string p = path;
    for (char& c : p) {
        if (c == '\\') c = '/';
    }
    return p;
}

bool PosixFileOps::writeNew(const Text& path, const Bytes& bytes) {
    int fd = ::open(nativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    bool ok = done == bytes.size() && ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

FileRead PosixFileOps::read(const Text& path) { return readWholeFile(path); }

bool PosixFileOps::exists(const Text& path) {
    struct stat st {};
    return ::lstat(nativePath(path).c_str(), &st) == 0;
}

bool PosixFileOps::keepCopy(const Text& from, const Text& to) {
    return ::link(nativePath(from).c_str(), nativePath(to).c_str()) == 0;
}

bool PosixFileOps::moveOver(const Text& from, const Text& to) {
    std::string target = nativePath(to);
    // Like Windows, refuse to replace a read-only file (by its mode: tests run as root).
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0) return false;
    return ::rename(nativePath(from).c_str(), target.c_str()) == 0;
}

bool PosixFileOps::remove(const Text& path) { return ::unlink(nativePath(path).c_str()) == 0; }

FileRead readWholeFile(const Text& path) {
    FileRead result;
    std::FILE* f = std::fopen(nativePath(path).c_str(), "rb");
    if (!f) return result;
    unsigned char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) result.bytes.insert(result.bytes.end(), buf, buf + n);
    result.ok = !std::ferror(f);
    std::fclose(f);
    if (!result.ok) result.bytes.clear();
    return result;
}

}  // namespace vorlane
