#pragma once
// Writing files so that nothing already there is lost: a file is written under a temporary name
// beside its target and moved into place only once it may replace the old one; read-modify-write
// of a shared file happens under an advisory lock; and two paths can be compared by identity.
#include <cstdio>
#include <string>
#include <string_view>

namespace umbrix {

// True when both paths name the same existing file (device and inode, links followed).
bool SameFile(const std::string& a, const std::string& b);

// Removes the temporary files beside target that an earlier save left behind: those of a
// process that has ended ("<target>.~tmp<pid>-<hex>"), and those of the older pattern
// "<target>.~tmp<n>" once they are a minute old.
void RemoveStaleTemporaryFiles(const std::string& target);

class OutputFile {
  public:
    enum class Mode { Replace, Append };

    // Replace: a temporary file beside the target, with the target's permissions when it exists
    // (a target that is no regular file, such as /dev/stdout, is written directly). Append: the
    // target itself, created when missing. Throws FileError ("cannot create "P": reason").
    OutputFile(const std::string& target, Mode mode);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Throws FileError ("cannot write "P": reason").
    void write(std::string_view text);
    // Moves the temporary file into place; later writes go on into the target.
    void commit();
    // Flushes, commits and closes; throws FileError when anything could not be written.
    void close();
    // Removes a temporary file that was not committed: the target stays as it was.
    void abandon();

    bool committed() const { return committed_; }
    const std::string& target() const { return target_; }

  private:
    void flushToDisk();
    [[noreturn]] void fail(const char* verb, int error);

    std::string target_;  // links resolved
    std::string temp_;    // empty when the target is written directly
    std::FILE* file_ = nullptr;
    bool committed_ = false;
    bool regular_ = true;
};

// Holds an exclusive advisory lock on the file at path (created empty when missing) for a
// read-modify-write by this process; other processes that take the same lock wait, and a
// file replaced while waiting is locked afresh. Throws FileError when the lock cannot be had
// within a few seconds.
class FileUpdateLock {
  public:
    explicit FileUpdateLock(const std::string& path);
    ~FileUpdateLock();
    FileUpdateLock(const FileUpdateLock&) = delete;
    FileUpdateLock& operator=(const FileUpdateLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace umbrix
