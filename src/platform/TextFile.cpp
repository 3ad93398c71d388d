#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/Error.h"

namespace umbrix {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void Fail(const char* verb, const std::string& path, const std::string& reason) {
    throw FileError(std::string("cannot ") + verb + " \"" + path + "\": " + reason);
}

std::string SizeText(std::size_t bytes) {
    constexpr std::size_t kMB = std::size_t(1) << 20;
    if (bytes >= kMB && bytes % kMB == 0) return std::to_string(bytes / kMB) + " MB";
    return std::to_string(bytes) + " bytes";
}

// Opens for reading; nothing when the file does not exist and `missingIsEmpty` is set. The
// open never blocks: a pipe that nobody writes or a device would hang the reader.
FileHandle OpenForReading(const std::string& path, bool missingIsEmpty) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (missingIsEmpty && (error == ENOENT || error == ENOTDIR)) return nullptr;
        Fail("open", path, Reason(error ? error : EIO));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const bool folder = S_ISDIR(st.st_mode);
        ::close(fd);
        Fail("open", path, folder ? Reason(EISDIR) : "not a regular file");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FileHandle f(::fdopen(fd, "rb"));
    if (!f) {
        const int error = errno;
        ::close(fd);
        Fail("open", path, Reason(error ? error : EIO));
    }
    return f;
}

std::string ReadAll(std::FILE* f, const std::string& path, std::size_t maxBytes) {
    std::string content;
    char buf[65536];
    // read in pieces so that a device or a growing file cannot exhaust memory
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, f);
        if (n > maxBytes - content.size()) Fail("open", path, "larger than " + SizeText(maxBytes));
        content.append(buf, n);
        if (n < sizeof buf) break;
    }
    if (std::ferror(f)) Fail("read", path, Reason(errno ? errno : EIO));
    return content;
}

void WriteAndClose(FileHandle f, const std::string& path, std::string_view content) {
    errno = 0;
    bool ok = std::fwrite(content.data(), 1, content.size(), f.get()) == content.size();
    ok = std::fflush(f.get()) == 0 && ok;
    int error = errno;
    std::FILE* raw = f.release();
    ok = std::fclose(raw) == 0 && ok;
    if (!error) error = errno;
    if (!ok) Fail("write", path, Reason(error ? error : EIO));
}

bool IsSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

}  // namespace

FileHandle OpenInputFile(const std::string& path) {
    return OpenForReading(path, false);
}

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
    FileHandle f = OpenForReading(path, false);
    return ReadAll(f.get(), path, maxBytes);
}

std::optional<std::string> ReadTextFileIfExists(const std::string& path, std::size_t maxBytes) {
    FileHandle f = OpenForReading(path, true);
    if (!f) return std::nullopt;
    return ReadAll(f.get(), path, maxBytes);
}

void WriteTextFile(const std::string& path, std::string_view content) {
    errno = 0;
    FileHandle f(std::fopen(path.c_str(), "wb"));
    if (!f) Fail("open", path, Reason(errno ? errno : EIO));
    WriteAndClose(std::move(f), path, content);
}

void AppendTextFile(const std::string& path, std::string_view content) {
    errno = 0;
    FileHandle f(std::fopen(path.c_str(), "ab"));
    if (!f) Fail("open", path, Reason(errno ? errno : EIO));
    WriteAndClose(std::move(f), path, content);
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\n' || c == '\r') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
        ++i;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string FileNameOnly(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return std::string(path.substr(i));
}

std::string DirectoryOf(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    if (i == 0) return {};
    // keep the root itself; drop the separator otherwise
    std::size_t end = i - 1;
    while (end > 0 && IsSeparator(path[end - 1])) --end;
    if (end == 0) return std::string(path.substr(0, 1));
    return std::string(path.substr(0, end));
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    if (directory.empty()) return std::string(name);
    std::string out(directory);
    if (!IsSeparator(out.back())) out.push_back('/');
    out.append(name);
    return out;
}

}  // namespace umbrix
