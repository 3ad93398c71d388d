#pragma once
// Helpers shared by the fuzz harnesses: take leading bytes of the input as choices, the rest
// as the text under test, and stop the run loudly when a property does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace umbrix::fuzz {

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size)
        : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    // The next byte, 0 when the input is used up.
    std::uint8_t byte() { return pos_ < size_ ? std::uint8_t(data_[pos_++]) : 0; }
    // A double built from the next eight bytes (NaN, infinities and denormals included).
    double rawDouble() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = (bits << 8) | byte();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    // Up to the next '\n' (not included), or the rest.
    std::string_view line() {
        std::string_view rest(data_ + pos_, size_ - pos_);
        std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) {
            pos_ = size_;
            return rest;
        }
        pos_ += end + 1;
        return rest.substr(0, end);
    }
    std::string_view rest() {
        std::string_view r(data_ + pos_, size_ - pos_);
        pos_ = size_;
        return r;
    }

  private:
    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "property failed: %s [%.*s]\n", what, int(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool ok, const char* what, std::string_view detail = {}) {
    if (!ok) Fail(what, detail);
}

}  // namespace umbrix::fuzz
