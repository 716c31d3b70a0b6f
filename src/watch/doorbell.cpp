#include "watch/doorbell.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "host/text.h"
#include "host/unique_handle.h"

namespace toolcase::watch {

namespace {

constexpr DWORD kMappingSize = 8192;
constexpr int kHighestNumber = 999;
constexpr UINT kRunCommand = WM_USER + 200;       // wParam 1: as if typed
constexpr UINT kEvaluateIdentifier = WM_USER + 201;
constexpr WPARAM kAsIfTyped = 1;
// Fixed ASCII: nothing of an event ever reaches a line the host runs.
constexpr std::string_view kSignalCommand = "/.signal toolcase";
constexpr std::string_view kVersionIdentifier = "$version";

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

bool Doorbell::host_takes_commands(HWND host) noexcept {
  auto* text = static_cast<char*>(view_);
  std::memcpy(text, kVersionIdentifier.data(), kVersionIdentifier.size());
  text[kVersionIdentifier.size()] = '\0';
  if (SendMessageA(host, kEvaluateIdentifier, 0, number_) == 0) return false;
  const std::string_view result(text, strnlen(text, kMappingSize));
  return !result.empty() && result != kVersionIdentifier;
}

bool Doorbell::ring(HWND host) noexcept {
  auto* text = static_cast<char*>(view_);
  std::memcpy(text, kSignalCommand.data(), kSignalCommand.size());
  text[kSignalCommand.size()] = '\0';
  return SendMessageA(host, kRunCommand, kAsIfTyped, number_) != 0;
}

}  // namespace toolcase::watch
