#include "platform/LineReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace umbrix {

LineTooLongError::LineTooLongError(std::int64_t line, std::size_t limit)
    : UmbrixError("line " + std::to_string(line) + " is longer than " + std::to_string(limit) +
                  " characters"),
      line_(line) {}

LineReader::LineReader(const std::string& path, std::size_t maxLength)
    : path_(path), maxLength_(maxLength), file_(OpenInputFile(path)), buffer_(64 * 1024) {
    struct stat st {};
    if (fstat(fileno(file_.get()), &st) == 0) size_ = std::int64_t(st.st_size);
}

double LineReader::fractionRead() const {
    if (size_ <= 0) return 1.0;
    return std::clamp(double(filled_ - std::int64_t(end_ - pos_)) / double(size_), 0.0, 1.0);
}

bool LineReader::fill() {
    if (eof_) return false;
    end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_.get());
    filled_ += std::int64_t(end_);
    pos_ = 0;
    if (end_ < buffer_.size()) {
        if (std::ferror(file_.get()))
            throw FileError("cannot read \"" + path_ + "\": " + std::strerror(errno ? errno : EIO));
        eof_ = true;
    }
    return end_ > 0;
}

bool LineReader::next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (pos_ == end_ && !fill()) break;
        if (!any) {
            any = true;
            ++lineNumber_;
        }
        const char c = buffer_[pos_++];
        if (c == '\n') break;
        if (c == '\r') {
            // CR LF counts once
            if (pos_ < end_ || fill())
                if (buffer_[pos_] == '\n') ++pos_;
            break;
        }
        if (line.size() >= maxLength_) throw LineTooLongError(lineNumber_, maxLength_);
        line.push_back(c);
    }
    if (any && lineNumber_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    return any;
}

}  // namespace umbrix
