// Process: "KEYWORD;TARGET", what Windows tells of the processes a target
// names: "pid:N" one process by its id, "hwnd:N" the process that owns that
// top-level window, any other text every process of that executable name.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "host/command.h"
#include "host/text.h"
#include "process/load_time_locale.h"
#include "process/process_list.h"
#include "process/process_names.h"
#include "window/window_process.h"
#include "window/window_target.h"

using namespace toolcase;

namespace {

enum class ProcessFact { ids, name, path, window };

constexpr std::array<text::Keyword<ProcessFact>, 4> kFacts{{
    {"pid", ProcessFact::ids},
    {"name", ProcessFact::name},
    {"path", ProcessFact::path},
    {"window", ProcessFact::window},
}};

// The processes a target names, in list order, and the first one's name.
// More than fit are left out: the ids alone fill an answer before that.
struct Targets {
  bool malformed = false;
  std::array<DWORD, 256> ids{};
  std::size_t count = 0;
  Text first_name;

  void add(DWORD id) {
    if (count < ids.size()) ids[count++] = id;
  }
  std::span<const DWORD> view() const { return {ids.data(), count}; }
};

Targets find_targets(std::string_view target, TextEncoding encoding) {
  Targets targets;
  if (const text::PrefixedId process = text::parse_prefixed_id(target, "pid:"); process.has_prefix) {
    targets.malformed = process.id == 0;
    if (process.id != 0 && process::is_running(process.id, encoding, &targets.first_name)) {
      targets.add(process.id);
    }
    return targets;
  }
  if (const text::PrefixedId window = text::parse_prefixed_id(target, "hwnd:"); window.has_prefix) {
    targets.malformed = window.id == 0;
    const HWND found = window::window_from_handle_number(window.id);
    const DWORD owner = found != nullptr ? window::window_process_id(found) : 0;
    if (owner != 0 && process::is_running(owner, encoding, &targets.first_name)) targets.add(owner);
    return targets;
  }
  const process::NameEncoding& names = process::name_encoding(encoding);
  const Text name = process::upper_name(target, names);
  process::for_each_match(name, encoding, [&](DWORD process_id, std::string_view listed_name) {
    if (targets.count == 0) targets.first_name.assign(process::file_name_part(listed_name, names));
    targets.add(process_id);
  });
  return targets;
}

// The ids with single blanks, cut at a whole number within an answer.
Text id_list(std::span<const DWORD> ids) {
  Text answer;
  for (const DWORD id : ids) {
    const text::IntegerText number = text::id_to_text(id);
    const std::size_t needed = number.size() + (answer.empty() ? 0 : 1);
    if (answer.size() + needed > Text::kCapacity) break;
    if (!answer.empty()) answer.push_back(' ');
    answer.append(number);
  }
  return answer;
}

Text process_fact(const Targets& targets, ProcessFact fact, TextEncoding encoding) {
  switch (fact) {
    case ProcessFact::ids:
      return id_list(targets.view());
    case ProcessFact::name:
      return targets.first_name;
    case ProcessFact::path:
      for (const DWORD id : targets.view()) {
        if (Text path; process::image_path(id, encoding, path)) return path;
      }
      return Text(kFalse);
    case ProcessFact::window:
      break;
  }
  if (const HWND window = window::frontmost_window_of(targets.view())) {
    return Text(text::id_to_text(window::handle_number(window)));
  }
  return Text(kFalse);
}

}  // namespace

// "pid;TARGET", "name;TARGET", "path;TARGET", "window;TARGET".
TOOLCASE_COMMAND(Process) {
  return run_text_command(data, main_window, [](const Text& input, TextEncoding encoding) {
    const int separator = text::find_position(input, ";");
    if (separator == 0) return Text(kError);
    const std::optional<ProcessFact> fact = text::look_up(kFacts, text::copy_range(input, 1, separator - 1));
    const std::string_view target =
        text::copy_range(input, separator + 1, static_cast<int>(input.size()));
    if (!fact || target.empty()) return Text(kError);
    const Targets targets = find_targets(target, encoding);
    if (targets.malformed) return Text(kError);
    if (targets.count == 0) return Text(kFalse);
    return process_fact(targets, *fact, encoding);
  });
}
