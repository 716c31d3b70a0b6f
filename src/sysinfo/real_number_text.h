// Memory figures as text: the general notation with 15 significant digits,
// rounded half up from the exact value, with the caller's decimal separator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace toolcase::sysinfo {

// A figure's text with room for a short suffix, held in place: Memory builds
// its answer without the heap, whose cost under Wine is several times that of
// the platform call the answer reports.
class FigureText {
 public:
  // The longest figure (22 characters: "0", the separator, 20 decimal places)
  // and a suffix.
  static constexpr std::size_t kCapacity = 32;

  FigureText() = default;
  explicit FigureText(std::string_view text) noexcept { append(text); }

  // Byte by byte, counted in a local: these texts are a few bytes long, and
  // a call of the runtime's memcpy costs more than such a copy. Bytes beyond
  // the capacity are dropped; no figure written here comes near it.
  void append(std::string_view text) noexcept {
    std::size_t size = size_;
    for (char c : text) {
      if (size < kCapacity) chars_[size++] = c;
    }
    size_ = size;
  }
  void append(std::size_t count, char c) noexcept {
    std::size_t size = size_;
    for (; count > 0 && size < kCapacity; --count) chars_[size++] = c;
    size_ = size;
  }
  void push_back(char c) noexcept { append(1, c); }

  std::string_view view() const noexcept { return {chars_.data(), size_}; }
  operator std::string_view() const noexcept { return view(); }
  friend bool operator==(const FigureText& figure, std::string_view text) noexcept {
    return figure.view() == text;
  }

 private:
  std::array<char, kCapacity> chars_;  // only the first size_ are ever read
  std::size_t size_ = 0;
};

// The exact value scaled / 10^decimal_places, rounded half up to 15
// significant digits, trailing zeros dropped, no sign, no grouping, no
// exponent. decimal_places runs from 0 to 20, enough for every 64-bit value;
// every figure written here lies between 1/1024 and 2^32, where no exponent
// is due.
FigureText real_number_text(std::uint64_t scaled, int decimal_places, char separator);

// A byte count in kilobytes, bytes / 1024 without truncation:
// 123456789 gives "120563.270507813".
FigureText kilobytes_text(std::uint32_t bytes, char separator);

}  // namespace toolcase::sysinfo
