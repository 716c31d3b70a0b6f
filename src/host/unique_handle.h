// Owners for platform handles: one move-only type per kind of handle, each
// with its own invalid value and its own way of letting go, so that no path
// out of a command can leak one.
#pragma once

#include <windows.h>

#include <utility>

namespace toolcase {

template <typename Traits>
class UniqueHandle {
 public:
  using pointer = typename Traits::pointer;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(pointer value) noexcept : value_(value) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  pointer get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != Traits::invalid(); }

  pointer release() noexcept { return std::exchange(value_, Traits::invalid()); }
  void reset(pointer value = Traits::invalid()) noexcept {
    const pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }

 private:
  pointer value_ = Traits::invalid();
};

// A ToolHelp snapshot: INVALID_HANDLE_VALUE when none was taken.
struct SnapshotTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer handle) noexcept { CloseHandle(handle); }
};

// An opened process: NULL when it could not be opened.
struct ProcessTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer handle) noexcept { CloseHandle(handle); }
};

// A thread: NULL when none was started.
struct ThreadTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer handle) noexcept { CloseHandle(handle); }
};

// An event: NULL when none was made.
struct EventTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer handle) noexcept { CloseHandle(handle); }
};

// A directory search: INVALID_HANDLE_VALUE when nothing was found.
struct FindTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(pointer handle) noexcept { FindClose(handle); }
};

// An opened registry key: NULL when it could not be opened.
struct RegistryKeyTraits {
  using pointer = HKEY;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer key) noexcept { RegCloseKey(key); }
};

// A file mapping: NULL when none was made.
struct MappingTraits {
  using pointer = HANDLE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer handle) noexcept { CloseHandle(handle); }
};

// A view of a file mapping: NULL when none was mapped.
struct MappedViewTraits {
  using pointer = void*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer view) noexcept { UnmapViewOfFile(view); }
};

// A reference to a loaded module: NULL when none was taken.
struct ModuleReferenceTraits {
  using pointer = HMODULE;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer module) noexcept { FreeLibrary(module); }
};

// A desktop opened by name or as the input desktop: NULL when none was opened.
struct DesktopTraits {
  using pointer = HDESK;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer desktop) noexcept { CloseDesktop(desktop); }
};

// Pages of memory of a list too long for a stack (the library takes nothing
// from the heap): NULL when none were reserved.
struct PagesTraits {
  using pointer = void*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer pages) noexcept { VirtualFree(pages, 0, MEM_RELEASE); }
};

// A COM interface pointer: NULL when none was given.
template <typename Interface>
struct ComTraits {
  using pointer = Interface*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer object) noexcept { object->Release(); }
};

using unique_snapshot = UniqueHandle<SnapshotTraits>;
using unique_process = UniqueHandle<ProcessTraits>;
using unique_thread = UniqueHandle<ThreadTraits>;
using unique_event = UniqueHandle<EventTraits>;
using unique_find = UniqueHandle<FindTraits>;
using unique_registry_key = UniqueHandle<RegistryKeyTraits>;
using unique_mapping = UniqueHandle<MappingTraits>;
using unique_mapped_view = UniqueHandle<MappedViewTraits>;
using unique_module_reference = UniqueHandle<ModuleReferenceTraits>;
using unique_desktop = UniqueHandle<DesktopTraits>;
using unique_pages = UniqueHandle<PagesTraits>;
template <typename Interface>
using unique_com = UniqueHandle<ComTraits<Interface>>;

}  // namespace toolcase
