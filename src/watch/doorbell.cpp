#include "watch/doorbell.h"

#include <algorithm>
#include <array>
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
constexpr WPARAM kUnicodeText = 8;  // added to wParam: the mapping holds UTF-16
// Fixed ASCII behind the prefix: nothing of an event ever reaches a line the
// host runs.
constexpr std::string_view kSignalCommand = ".signal toolcase";
constexpr std::wstring_view kSignalCommandUnicode = L".signal toolcase";
constexpr std::string_view kVersionIdentifier = "$version";
constexpr std::wstring_view kVersionIdentifierUnicode = L"$version";
constexpr std::string_view kCommandPrefixIdentifier = "$comchar";
constexpr std::wstring_view kCommandPrefixIdentifierUnicode = L"$comchar";

bool is_one_character(std::wstring_view prefix) {
  if (prefix.size() == 1) return !IS_HIGH_SURROGATE(prefix[0]) && !IS_LOW_SURROGATE(prefix[0]);
  return prefix.size() == 2 && IS_SURROGATE_PAIR(prefix[0], prefix[1]);
}

// An older host's prefix: one byte of its code page, or one UTF-8 character.
bool is_one_character(std::string_view prefix) {
  return prefix.size() == 1 ||
         (prefix.size() <= 4 && utf8::is_well_formed(prefix) && utf8::character_count(prefix) == 1);
}

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

std::wstring_view Doorbell::evaluate_unicode(HWND host, std::wstring_view identifier) noexcept {
  auto* text = static_cast<wchar_t*>(view_);
  std::copy(identifier.begin(), identifier.end(), text);
  text[identifier.size()] = L'\0';
  if (SendMessageA(host, kEvaluateIdentifier, kUnicodeText, number_) == 0) return {};
  const std::wstring_view result(text, wcsnlen(text, kMappingSize / sizeof(wchar_t)));
  return result != identifier ? result : std::wstring_view();
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
  return !evaluate_unicode(host, kVersionIdentifierUnicode).empty() || !evaluate(host, kVersionIdentifier).empty();
}

bool Doorbell::ring(HWND host) noexcept {
  // The prefix of this moment: the user may have changed it since the last ring.
  if (const std::wstring_view prefix = evaluate_unicode(host, kCommandPrefixIdentifierUnicode); !prefix.empty()) {
    if (!is_one_character(prefix)) return false;
    // The prefix is read from the mapping that the line overwrites.
    std::array<wchar_t, 2 + kSignalCommandUnicode.size() + 1> line{};
    auto end = std::copy(prefix.begin(), prefix.end(), line.begin());
    end = std::copy(kSignalCommandUnicode.begin(), kSignalCommandUnicode.end(), end);
    *end = L'\0';
    std::copy(line.begin(), end + 1, static_cast<wchar_t*>(view_));
    return SendMessageA(host, kRunCommand, kAsIfTyped + kUnicodeText, number_) != 0;
  }
  const std::string_view prefix = evaluate(host, kCommandPrefixIdentifier);
  if (!is_one_character(prefix)) return false;
  BoundedText<32> line(prefix);
  line.append(kSignalCommand);
  std::memcpy(view_, line.c_str(), line.size() + 1);
  return SendMessageA(host, kRunCommand, kAsIfTyped, number_) != 0;
}

}  // namespace toolcase::watch
