// Carves a fuzzer's bytes into the pieces a target needs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Stops the fuzzer on a broken property, whatever the build type.
#define FUZZ_CHECK(condition) \
  do {                        \
    if (!(condition)) __builtin_trap(); \
  } while (false)

namespace toolcase::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::int32_t next_int() {
    std::int32_t value = 0;
    const std::size_t n = size_ < sizeof value ? size_ : sizeof value;
    std::memcpy(&value, data_, n);
    advance(n);
    return value;
  }

  // Up to the next NUL byte (consumed), or the rest.
  std::string next_text() {
    const void* nul = std::memchr(data_, '\0', size_);
    const std::size_t length = nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data_) : size_;
    std::string text(reinterpret_cast<const char*>(data_), length);
    advance(nul ? length + 1 : length);
    return text;
  }

  std::string rest() {
    std::string text(reinterpret_cast<const char*>(data_), size_);
    advance(size_);
    return text;
  }

 private:
  void advance(std::size_t n) {
    data_ += n;
    size_ -= n;
  }

  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace toolcase::fuzz
