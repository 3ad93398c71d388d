#pragma once
// Errors that end a command. The front end shows the message (message box or one line on
// standard error); rows already written stay.
#include <stdexcept>
#include <string>

namespace umbrix {

class UmbrixError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A text that does not convert when a command reads it.
class ConvertError : public UmbrixError {
  public:
    ConvertError(std::string field, std::string text, const std::string& message)
        : UmbrixError(message), field_(std::move(field)), text_(std::move(text)) {}
    const std::string& field() const { return field_; }
    const std::string& text() const { return text_; }

  private:
    std::string field_;
    std::string text_;
};

// A file that cannot be opened, read or written.
class FileError : public UmbrixError {
  public:
    using UmbrixError::UmbrixError;
};

}  // namespace umbrix
