#include "watch/doorbell.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "host/text.h"
#include "host/unique_handle.h"
#include "host/utf8.h"

namespace toolcase::watch {

namespace {

constexpr DWORD kMappingSize = 8192;
constexpr int kHighestNumber = 999;
constexpr UINT kRunCommand = WM_USER + 200;       // wParam 1: as if typed
constexpr UINT kEvaluateIdentifier = WM_USER + 201;
constexpr WPARAM kAsIfTyped = 1;
// Fixed ASCII behind the prefix: nothing of an event ever reaches a line the
// host runs.
constexpr std::string_view kSignalCommand = ".signal toolcase";
constexpr std::string_view kVersionIdentifier = "$version";
constexpr std::string_view kCommandPrefixIdentifier = "$comchar";
constexpr std::string_view kDefaultCommandPrefix = "/";

}  // namespace

bool Doorbell::open() noexcept {
  if (is_open()) return true;
  for (int number = 1; number <= kHighestNumber; ++number) {
    BoundedText<16> name("mIRC");
    name.append(text::integer_to_text(number));
    unique_mapping mapping(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMappingSize, name.c_str()));
    // A name someone else holds is never written: that mapping is theirs.
    if (!mapping || GetLastError() == ERROR_ALREADY_EXISTS) continue;
    unique_mapped_view view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, kMappingSize));
    if (!view) continue;
    mapping_ = mapping.release();
    view_ = view.release();
    number_ = number;
    return true;
  }
  return false;
}

void Doorbell::close() noexcept {
  // Given back as their owners go: the view first.
  const unique_mapping mapping(std::exchange(mapping_, nullptr));
  const unique_mapped_view view(std::exchange(view_, nullptr));
  number_ = 0;
}

std::string_view Doorbell::evaluate(HWND host, std::string_view identifier) noexcept {
  auto* text = static_cast<char*>(view_);
  std::memcpy(text, identifier.data(), identifier.size());
  text[identifier.size()] = '\0';
  if (SendMessageA(host, kEvaluateIdentifier, 0, number_) == 0) return {};
  const std::string_view result(text, strnlen(text, kMappingSize));
  return result != identifier ? result : std::string_view();
}

bool Doorbell::host_takes_commands(HWND host) noexcept {
  if (evaluate(host, kVersionIdentifier).empty()) return false;
  // Anything but one character (a UTF-8 one of several bytes is one) is no prefix.
  const std::string_view prefix = evaluate(host, kCommandPrefixIdentifier);
  const bool one_character = prefix.size() <= 4 && utf8::is_well_formed(prefix) &&
                             utf8::character_count(prefix) == 1;
  command_prefix_.assign(one_character ? prefix : kDefaultCommandPrefix);
  return true;
}

bool Doorbell::ring(HWND host) noexcept {
  BoundedText<32> line(command_prefix_);
  line.append(kSignalCommand);
  auto* text = static_cast<char*>(view_);
  std::memcpy(text, line.c_str(), line.size() + 1);
  return SendMessageA(host, kRunCommand, kAsIfTyped, number_) != 0;
}

}  // namespace toolcase::watch
