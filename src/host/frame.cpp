#include "host/frame.h"

#include <algorithm>
#include <cstring>

namespace toolcase {

Text read_input(const char* data) noexcept {
  Text input;
  if (data == nullptr) return input;
  // A host that forgot the NUL must not make us read past its buffer.
  const void* nul = std::memchr(data, '\0', kDataBufferSize);
  const std::size_t length =
      nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : kDataBufferSize - 1;
  input.append(std::string_view(data, length));
  return input;
}

void write_answer(char* data, std::string_view answer, TextEncoding encoding) noexcept {
  if (data == nullptr) return;
  answer = std::string_view(answer.data(), std::min(answer.size(), kDataBufferSize - 1));
  if (encoding == TextEncoding::utf8) answer = utf8::without_cut_character(answer);
  const std::size_t length = answer.size();
  std::memcpy(data, answer.data(), length);
  data[length] = '\0';
}

}  // namespace toolcase
