#include "platform/OutputFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/Error.h"
#include "platform/TextFile.h"

namespace umbrix {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTempMark = ".~tmp";

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The file a path finally names: writing through a link must not replace the link itself.
std::string ResolveLinks(const std::string& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved.string();
}

std::string UniqueTempName(const std::string& target) {
    static std::mt19937 random{std::random_device{}()};
    char part[16];
    std::snprintf(part, sizeof part, "%08x", unsigned(random()));
    return target + kTempMark + std::to_string(::getpid()) + "-" + part;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool ProcessHasEnded(long pid) {
    if (pid <= 0 || pid == long(::getpid())) return false;
    return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
}

bool OlderThan(const std::string& path, std::chrono::seconds age) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return false;
    return std::time(nullptr) - st.st_mtime > age.count();
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

void RemoveStaleTemporaryFiles(const std::string& target) {
    const std::string directory = DirectoryOf(target);
    const std::string prefix = FileNameOnly(target) + kTempMark;
    DIR* dir = ::opendir(directory.empty() ? "." : directory.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string_view rest = std::string_view(name).substr(prefix.size());
        const std::string path = JoinPath(directory, name);
        const std::size_t dash = rest.find('-');
        bool stale = false;
        if (dash == std::string_view::npos) {
            // the older pattern carries no process: only an old one is surely abandoned
            stale = AllDigits(rest) && OlderThan(path, std::chrono::seconds(60));
        } else if (AllDigits(rest.substr(0, dash))) {
            stale = ProcessHasEnded(std::stol(std::string(rest.substr(0, dash))));
        }
        if (stale) ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// ---- OutputFile ------------------------------------------------------------------

OutputFile::OutputFile(const std::string& target, Mode mode) : target_(ResolveLinks(target)) {
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) fail("create", EISDIR);
    regular_ = !exists || S_ISREG(st.st_mode);
    if (mode == Mode::Append || !regular_) {
        // appending keeps what is there; a device or pipe cannot be replaced
        file_ = std::fopen(target_.c_str(), mode == Mode::Append ? "ab" : "wb");
        if (!file_) fail("create", errno);
        committed_ = true;
        return;
    }
    RemoveStaleTemporaryFiles(target_);
    for (int attempt = 0; attempt < 16 && !file_; ++attempt) {
        temp_ = UniqueTempName(target_);
        const int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            const int error = errno;
            temp_.clear();
            fail("create", error);
        }
        if (exists) (void)::fchmod(fd, st.st_mode & 07777);
        file_ = ::fdopen(fd, "wb");
        if (!file_) {
            const int error = errno;
            ::close(fd);
            ::unlink(temp_.c_str());
            temp_.clear();
            fail("create", error);
        }
    }
    if (!file_) {
        temp_.clear();
        fail("create", EEXIST);
    }
}

OutputFile::~OutputFile() {
    if (file_) std::fclose(file_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void OutputFile::fail(const char* verb, int error) {
    throw FileError(std::string("cannot ") + verb + " " + Quoted(target_) + ": " +
                    std::strerror(error ? error : EIO));
}

void OutputFile::write(std::string_view text) {
    if (!file_) fail("write", EBADF);
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) fail("write", errno);
}

void OutputFile::flushToDisk() {
    errno = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_)) fail("write", errno);
    // the data must be on disk before a rename makes them the file
    if (regular_ && ::fsync(::fileno(file_)) != 0) fail("write", errno);
}

void OutputFile::commit() {
    if (committed_) return;
    if (!file_) fail("write", EBADF);
    flushToDisk();
    if (std::rename(temp_.c_str(), target_.c_str()) != 0) fail("write", errno);
    committed_ = true;
}

void OutputFile::close() {
    if (!file_) return;
    if (committed_)
        flushToDisk();
    else
        commit();
    std::FILE* f = file_;
    file_ = nullptr;
    errno = 0;
    if (std::fclose(f) != 0) fail("write", errno);
}

void OutputFile::abandon() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
    temp_.clear();
}

// ---- FileUpdateLock --------------------------------------------------------------

FileUpdateLock::FileUpdateLock(const std::string& requested) {
    const std::string path = ResolveLinks(requested);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
        if (fd_ < 0) throw FileError("cannot update " + Quoted(path) + ": " + std::strerror(errno));
        struct stat held {};
        if (::fstat(fd_, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd_);
            fd_ = -1;
            throw FileError("cannot update " + Quoted(path) + ": not a regular file");
        }
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) break;  // no locks here: go on without
            if (std::chrono::steady_clock::now() > deadline) {
                ::close(fd_);
                fd_ = -1;
                throw FileError("cannot update " + Quoted(path) +
                                ": another program keeps it locked");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // the holder before us may have replaced the file: then lock the new one
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
            now.st_ino == held.st_ino)
            return;
        ::close(fd_);
        fd_ = -1;
    }
}

FileUpdateLock::~FileUpdateLock() {
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

// ---- whole files -------------------------------------------------------------------

void WriteTextFileAtomic(const std::string& path, std::string_view content) {
    OutputFile out(path, OutputFile::Mode::Replace);
    out.write(content);
    out.close();
}

}  // namespace umbrix
