#include "host/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

using namespace toolcase;

namespace {

// A host data buffer with guard bytes behind it.
struct HostBuffer {
  static constexpr char kGuard = '\x5A';
  std::array<char, kDataBufferSize + 16> bytes;
  HostBuffer() { bytes.fill(kGuard); }
  explicit HostBuffer(const std::string& input) : HostBuffer() {
    std::copy(input.begin(), input.end(), bytes.begin());
    bytes[input.size()] = '\0';
  }
  bool guard_intact() const {
    return std::all_of(bytes.begin() + kDataBufferSize, bytes.end(),
                       [](char c) { return c == kGuard; });
  }
};

}  // namespace

TEST(ReadInput, StopsAtTheFirstNulAndInsideTheBuffer) {
  EXPECT_EQ(read_input(nullptr), "");
  EXPECT_EQ(read_input("show\0hidden"), "show");
  HostBuffer unterminated;  // no NUL anywhere in the 900 bytes
  EXPECT_EQ(read_input(unterminated.bytes.data()).size(), kDataBufferSize - 1);
}

TEST(WriteAnswer, WritesAnswerAndNulAndLeavesTheRest) {
  HostBuffer buffer("a long input text");
  write_answer(buffer.bytes.data(), "true");
  EXPECT_STREQ(buffer.bytes.data(), "true");
  // The old input behind the answer's NUL stays.
  EXPECT_EQ(std::string(buffer.bytes.data() + 5, 12), "g input text");
  EXPECT_TRUE(buffer.guard_intact());
  write_answer(nullptr, "true");  // a null buffer receives nothing
}

TEST(WriteAnswer, CutsAnAnswerThatWouldNotFitTo899Bytes) {
  for (std::size_t length : {kDataBufferSize - 2, kDataBufferSize - 1, kDataBufferSize,
                             kDataBufferSize + 500}) {
    HostBuffer buffer;
    write_answer(buffer.bytes.data(), std::string(length, 'x'));
    const std::size_t kept = std::min(length, kDataBufferSize - 1);
    EXPECT_EQ(std::string(buffer.bytes.data()), std::string(kept, 'x')) << length;
    EXPECT_TRUE(buffer.guard_intact()) << length;
  }
}

TEST(RunCommand, PassesTheInputAndWritesTheAnswer) {
  HostBuffer buffer("MiXeD");
  std::string seen;
  const int result = run_command(buffer.bytes.data(), [&](const Text& input) {
    seen = input.view();
    Text answer(input);
    answer.append(" answer");
    return answer;
  });
  EXPECT_EQ(result, 3);
  EXPECT_EQ(seen, "MiXeD");
  EXPECT_STREQ(buffer.bytes.data(), "MiXeD answer");
}

TEST(RunCommand, WritesAnyAnswerThatViewsAsText) {
  HostBuffer buffer("input");
  EXPECT_EQ(run_command(buffer.bytes.data(),
                        [](const Text&) { return std::string_view("viewed"); }),
            3);
  EXPECT_STREQ(buffer.bytes.data(), "viewed");
}

TEST(RunCommand, ReadsANullBufferAsEmptyAndWritesNothing) {
  std::string seen = "unset";
  EXPECT_EQ(run_command(nullptr, [&](const Text& input) {
              seen = input.view();
              return kTrue;
            }),
            3);
  EXPECT_EQ(seen, "");
}
