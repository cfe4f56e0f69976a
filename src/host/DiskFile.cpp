#include "host/DiskFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <utility>

#include "vbrt/RegularFile.h"
#include "vbrt/VbError.h"

namespace host {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

DiskStamp FromStat(const struct stat& st) {
    return {static_cast<std::uintmax_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            static_cast<std::uint64_t>(st.st_ino)};
}

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A new file beside the target, created exclusively so no other file is reused.
std::pair<int, std::filesystem::path> CreateTemp(const std::filesystem::path& file) {
    std::random_device random;
    for (int attempt = 0; attempt < 50; ++attempt) {
        std::string name(1, '.');
        name.append(file.filename().string()).append(1, '.').append(std::to_string(random())).append(".tmp");
        auto temp = file.parent_path() / name;
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return {fd, temp};
        if (errno != EEXIST) break;
    }
    RaiseAccessError(file, std::string("cannot be written: ") + std::strerror(errno));
}

void RaiseTooLarge(const std::filesystem::path& file) {
    RaiseAccessError(file, "is larger than " + std::to_string(vbrt::kMaxSourceFileBytes >> 20) +
                               " MB, too large for a Visual Basic source file");
}

// A device, a pipe or a socket is refused by its type, a huge file by its size.
void CheckRegular(const std::filesystem::path& file, const struct stat& st) {
    if (!S_ISREG(st.st_mode)) {
        const std::string kind = vbrt::SpecialFileKind(file);
        RaiseAccessError(file,
                         "is " + (kind.empty() ? std::string("not a file") : kind + ", not a regular file"));
    }
    if (static_cast<std::uintmax_t>(st.st_size) > vbrt::kMaxSourceFileBytes) RaiseTooLarge(file);
}

}  // namespace

void RaiseAccessError(const std::filesystem::path& file, const std::string& what) {
    vbrt::Raise(vbrt::err::PathFileAccess,
                vbrt::ErrorText(vbrt::err::PathFileAccess) + ": " + file.filename().string() + " " + what);
}

std::optional<DiskStamp> StampOf(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return std::nullopt;
    return FromStat(st);
}

std::string ReadFileBytes(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0)
        vbrt::Raise(vbrt::err::FileNotFound, vbrt::ErrorText(vbrt::err::FileNotFound) + ": " + file.string());
    if (S_ISDIR(st.st_mode)) RaiseAccessError(file, "is a folder, not a file");
    // Told before opening: opening a pipe would wait for a writer, and a device never ends.
    CheckRegular(file, st);
    // Non-blocking, and checked again on the open file, for one swapped in since the stat.
    Fd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0)
        RaiseAccessError(file, std::string("cannot be read: ") + std::strerror(errno));
    CheckRegular(file, st);
    // One read into a buffer of the file's size: big modules must not be copied while growing.
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {  // the file grew since stat
            if (done > vbrt::kMaxSourceFileBytes) RaiseTooLarge(file);
            bytes.resize(done + 65536);
        }
        ssize_t n = ::read(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) RaiseAccessError(file, std::string("cannot be read: ") + std::strerror(errno));
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void CheckWritable(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return;
    // The mode bits count even for a superuser: a rename would replace the file regardless.
    bool noWriteBit = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
    if (noWriteBit || ::access(file.c_str(), W_OK) != 0) RaiseAccessError(file, "is read-only");
}

namespace {

// The rename is what makes the new content the file's: it is durable only once
// the folder's entry is on disk too.
void SyncFolder(const std::filesystem::path& file) {
    Fd folder(::open(file.parent_path().empty() ? "." : file.parent_path().c_str(),
                     O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
}

}  // namespace

DiskStamp WriteFileAtomically(const std::filesystem::path& requested, const std::string& bytes) {
    // A link to a module stays a link: the file it points at is the one replaced.
    std::error_code ec;
    const std::filesystem::path file =
        std::filesystem::is_symlink(requested, ec) ? std::filesystem::canonical(requested, ec) : requested;
    struct stat original {};
    bool exists = ::stat(file.c_str(), &original) == 0;
    auto [rawFd, temp] = CreateTemp(file);
    Fd fd(rawFd);
    bool ok = WriteAll(fd.get(), bytes) && (!exists || ::fchmod(fd.get(), original.st_mode & 07777) == 0) &&
              ::fsync(fd.get()) == 0;
    int error = errno;
    // Keep the owner when a superuser saves somebody else's module; other users cannot, and need not.
    if (ok && exists && ::geteuid() == 0) (void)!::fchown(fd.get(), original.st_uid, original.st_gid);
    ok = ::close(fd.release()) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
        if (ok) error = errno;
        ::unlink(temp.c_str());
        RaiseAccessError(requested, std::string("cannot be written: ") + std::strerror(error));
    }
    SyncFolder(file);
    struct stat written {};
    ::stat(requested.c_str(), &written);
    return FromStat(written);
}

}  // namespace host
