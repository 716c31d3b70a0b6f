// Text held in place with a fixed capacity. Every text a command handles is
// bounded by the host's 900-byte data buffer, so commands build their texts
// in such buffers and the library never needs the heap.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace toolcase {

template <std::size_t Capacity>
class BoundedText {
 public:
  static constexpr std::size_t kCapacity = Capacity;

  // Only the bytes in use and the NUL behind them are ever written or read:
  // a command's texts are not cleared first, which would cost more than the
  // few bytes they usually hold.
  BoundedText() noexcept { chars_[0] = '\0'; }
  // Cleared whole, for a module-level text: constant-initialized, it lies in
  // zeroed memory that no load has to touch.
  struct Cleared {};
  constexpr explicit BoundedText(Cleared) noexcept : chars_{} {}
  explicit BoundedText(std::string_view text) noexcept : BoundedText() { append(text); }
  BoundedText(const BoundedText& other) noexcept : BoundedText() { append(other.view()); }
  BoundedText& operator=(const BoundedText& other) noexcept {
    if (this != &other) assign(other.view());
    return *this;
  }

  // Bytes beyond the capacity are dropped. Copied byte by byte through a
  // local count: these texts are short, and a call of the runtime's memcpy
  // costs more than such a copy.
  void append(std::string_view text) noexcept {
    std::size_t size = size_;
    for (char c : text) {
      if (size == Capacity) break;
      chars_[size++] = c;
    }
    terminate_at(size);
  }
  void append(std::size_t count, char c) noexcept {
    std::size_t size = size_;
    for (; count > 0 && size < Capacity; --count) chars_[size++] = c;
    terminate_at(size);
  }
  void push_back(char c) noexcept {
    if (size_ == Capacity) return;
    chars_[size_] = c;
    terminate_at(size_ + 1);
  }
  void assign(std::string_view text) noexcept {
    terminate_at(0);
    append(text);
  }
  // Removes count bytes from position at (0-based); a range past the end
  // stops at the end.
  void erase(std::size_t at, std::size_t count) noexcept {
    if (at >= size_) return;
    if (count > size_ - at) count = size_ - at;
    for (std::size_t from = at + count; from < size_; ++from) chars_[from - count] = chars_[from];
    terminate_at(size_ - count);
  }
  std::size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  // NUL-terminated, for the platform's ANSI calls.
  const char* c_str() const noexcept { return chars_.data(); }
  std::string_view view() const noexcept { return {chars_.data(), size_}; }
  operator std::string_view() const noexcept { return view(); }

  friend bool operator==(const BoundedText& text, std::string_view other) noexcept {
    return text.view() == other;
  }
  friend bool operator==(const BoundedText& text, const BoundedText& other) noexcept {
    return text.view() == other.view();
  }

 private:
  void terminate_at(std::size_t size) noexcept {
    size_ = size;
    chars_[size] = '\0';
  }

  std::array<char, Capacity + 1> chars_;
  std::size_t size_ = 0;
};

// The host documents its data buffer as 900 bytes, NUL included.
inline constexpr std::size_t kDataBufferSize = 900;
// Any text a command reads, builds or answers: at most what that buffer holds.
using Text = BoundedText<kDataBufferSize - 1>;

}  // namespace toolcase
