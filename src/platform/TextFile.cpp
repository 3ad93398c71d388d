#include "platform/TextFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define UMBRIX_HAVE_FSYNC 1
#endif

#include "platform/Error.h"

namespace umbrix {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void Fail(const char* verb, const std::string& path, const std::string& reason) {
    throw FileError(std::string("cannot ") + verb + " \"" + path + "\": " + reason);
}

bool IsDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// Opens for reading; nothing when the file does not exist and `missingIsEmpty` is set.
FilePtr OpenForReading(const std::string& path, bool missingIsEmpty) {
    // fopen succeeds on a folder on some systems, and the read then fails obscurely
    if (IsDirectory(path)) Fail("open", path, Reason(EISDIR));
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        int error = errno;
        if (missingIsEmpty && (error == ENOENT || error == ENOTDIR)) return nullptr;
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
        if (n > maxBytes - content.size()) {
            Fail("open", path,
                 Reason(EFBIG) + " (more than " + std::to_string(maxBytes) + " bytes)");
        }
        content.append(buf, n);
        if (n < sizeof buf) break;
    }
    if (std::ferror(f)) Fail("read", path, Reason(errno ? errno : EIO));
    return content;
}

void WriteAndClose(FilePtr f, const std::string& path, std::string_view content) {
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

std::string ReadTextFile(const std::string& path, std::size_t maxBytes) {
    FilePtr f = OpenForReading(path, false);
    return ReadAll(f.get(), path, maxBytes);
}

std::optional<std::string> ReadTextFileIfExists(const std::string& path, std::size_t maxBytes) {
    FilePtr f = OpenForReading(path, true);
    if (!f) return std::nullopt;
    return ReadAll(f.get(), path, maxBytes);
}

void WriteTextFile(const std::string& path, std::string_view content) {
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "wb"));
    if (!f) Fail("open", path, Reason(errno ? errno : EIO));
    WriteAndClose(std::move(f), path, content);
}

void WriteTextFileAtomic(const std::string& path, std::string_view content) {
    // a fresh name beside the target: exclusive creation, so another writer is never clobbered
    FilePtr f;
    std::string temp;
    for (int attempt = 0; attempt < 100 && !f; ++attempt) {
        temp = path + ".~tmp" + std::to_string(attempt);
        errno = 0;
        f.reset(std::fopen(temp.c_str(), "wbx"));
        if (!f && errno != EEXIST) Fail("open", path, Reason(errno ? errno : EIO));
    }
    if (!f) Fail("open", path, Reason(EEXIST));
    try {
        errno = 0;
        bool ok = std::fwrite(content.data(), 1, content.size(), f.get()) == content.size();
        ok = std::fflush(f.get()) == 0 && ok;
#ifdef UMBRIX_HAVE_FSYNC
        // the data must be on disk before the rename makes it the file
        ok = ::fsync(fileno(f.get())) == 0 && ok;
#endif
        int error = errno;
        ok = std::fclose(f.release()) == 0 && ok;
        if (!ok) Fail("write", path, Reason(error ? error : (errno ? errno : EIO)));
        std::error_code ec;
        std::filesystem::rename(temp, path, ec);
        if (ec) Fail("write", path, ec.message());
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temp, ignored);
        throw;
    }
}

void AppendTextFile(const std::string& path, std::string_view content) {
    errno = 0;
    FilePtr f(std::fopen(path.c_str(), "ab"));
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
