#pragma once
// Whole-file text input and output. Every reader of outside data starts here: the size is
// bounded and failures name the file.
#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace umbrix {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a regular file for reading. It never blocks: a pipe, a device or a folder is refused.
// Throws FileError ("cannot open "FILE": not a regular file", "...: No such file or directory").
FileHandle OpenInputFile(const std::string& path);

// Throws FileError ("cannot open "FILE": reason") when the file cannot be read, is not a regular
// file, or is larger than maxBytes ("larger than 16 MB").
std::string ReadTextFile(const std::string& path, std::size_t maxBytes = std::size_t(512) << 20);
// As ReadTextFile, but nothing when the file (or its folder) does not exist.
std::optional<std::string> ReadTextFileIfExists(const std::string& path,
                                                std::size_t maxBytes = std::size_t(512) << 20);
// Creates or overwrites. Throws FileError.
void WriteTextFile(const std::string& path, std::string_view content);
// Writes a temporary file beside the target under a name of its own, then renames it; the
// temporary file is removed when that fails (platform/OutputFile.h). Throws FileError naming the
// target.
void WriteTextFileAtomic(const std::string& path, std::string_view content);
// Appends, creating a missing file; throws FileError when the file cannot be opened or written.
void AppendTextFile(const std::string& path, std::string_view content);

// Lines ended by CR LF, LF or a lone CR; no empty last line for a final line end.
std::vector<std::string> SplitLines(std::string_view text);

std::string FileNameOnly(std::string_view path);  // "dir/a.obs" -> "a.obs"
std::string DirectoryOf(std::string_view path);   // "dir/a.obs" -> "dir" ("" when none)
std::string JoinPath(std::string_view directory, std::string_view name);

}  // namespace umbrix
