#pragma once
// A text file read line by line with a bounded line length: memory stays flat however long the
// file is and whatever bytes it holds. The readers of outside data that stream start here.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "platform/TextFile.h"

namespace umbrix {

// A line longer than the reader accepts; nothing after it is read.
class LineTooLongError : public UmbrixError {
  public:
    LineTooLongError(std::int64_t line, std::size_t limit);
    std::int64_t line() const { return line_; }

  private:
    std::int64_t line_;
};

class LineReader {
  public:
    // Opens a regular file (FileError as OpenInputFile: never a pipe, a device or a folder).
    LineReader(const std::string& path, std::size_t maxLength);

    // The next line without its end (CR LF, LF or a lone CR) and, on the first line, without a
    // UTF-8 byte-order mark; false at the end of the file. Throws FileError when the file cannot
    // be read, LineTooLongError for a line longer than maxLength.
    bool next(std::string& line);
    // 1-based number of the line last returned.
    std::int64_t lineNumber() const { return lineNumber_; }
    const std::string& path() const { return path_; }
    // The share of the file's bytes read so far, 0 … 1 (for progress; 1 for an empty file).
    double fractionRead() const;

  private:
    bool fill();

    std::string path_;
    std::size_t maxLength_;
    FileHandle file_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    bool eof_ = false;
    std::int64_t lineNumber_ = 0;
    std::int64_t filled_ = 0;  // bytes read from the file into the buffer so far
    std::int64_t size_ = 0;    // the file's size when it was opened
};

}  // namespace umbrix
