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

void write_answer(char* data, std::string_view answer) noexcept {
  if (data == nullptr) return;
  const std::size_t length = std::min(answer.size(), kDataBufferSize - 1);
  std::memcpy(data, answer.data(), length);
  data[length] = '\0';
}

}  // namespace toolcase
