// The dialog line with any bytes: what is accepted, what is refused, and what
// is left of the working text, against a reading of the line by plain string
// searches.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz_input.h"
#include "host/text.h"
#include "notify/notify_text.h"

using namespace toolcase;

namespace {

// The field before the next ";" ("" and nothing cut when there is none), then
// the blanks that lead the rest.
std::string_view take_field(std::string_view& rest) {
  const std::size_t separator = rest.find(';');
  const std::string_view field = separator == rest.npos ? "" : rest.substr(0, separator);
  if (separator != rest.npos) rest.remove_prefix(separator + 1);
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  return field;
}

using Table = std::initializer_list<std::pair<std::string_view, unsigned>>;

std::optional<unsigned> value_of(std::string_view field, Table table) {
  for (const auto& [word, value] : table) {
    if (text::to_lower_ascii(field) == word) return value;
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The host hands over at most 899 bytes.
  const std::string line = fuzz::Input(data, size).rest().substr(0, kDataBufferSize - 1);
  Text working(line);
  const std::optional<notify::DialogRequest> request = notify::read_dialog_line(working);

  // Whatever the answer, what is left is the line's own tail.
  FUZZ_CHECK(working.size() <= line.size() && line.ends_with(working));
  if (line.size() < 12) FUZZ_CHECK(!request && working == line);

  std::string_view rest = line;
  const std::string_view buttons = take_field(rest);
  const std::string_view icon = take_field(rest);
  const std::string_view caption = take_field(rest);
  const std::string_view message = rest;
  const std::optional<unsigned> button_value =
      value_of(buttons, {{"yesno", 4}, {"abortretryignore", 2}, {"yesnocancel", 3}, {"ok", 0}});
  const std::optional<unsigned> icon_value =
      value_of(icon, {{"information", 0x40}, {"error", 0x10}, {"warning", 0x30}, {"question", 0x20}});
  const bool accepted = line.size() >= 12 && button_value && icon_value && message.size() >= 2;
  FUZZ_CHECK(request.has_value() == accepted);
  if (!request) return 0;

  FUZZ_CHECK(request->style == *button_value + *icon_value);
  FUZZ_CHECK(request->caption == caption && request->message == message);
  FUZZ_CHECK(request->caption.view().find(';') == std::string_view::npos);
  FUZZ_CHECK(request->message.view().front() != ' ' && line.ends_with(request->message));
  FUZZ_CHECK(working.empty());
  return 0;
}
