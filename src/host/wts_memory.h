// Memory that wtsapi32 hands out, given back through its own WTSFreeMemory,
// both looked up on first use.
#pragma once

#include "host/late_bound.h"
#include "host/unique_handle.h"

namespace toolcase {

extern LateBound wts_free_memory;

struct WtsMemoryTraits {
  using pointer = void*;
  static pointer invalid() noexcept { return nullptr; }
  static void close(pointer memory) noexcept {
    using FreeMemory = void(WINAPI*)(void*);
    if (const auto free = wts_free_memory.as<FreeMemory>()) free(memory);
  }
};
using unique_wts_memory = UniqueHandle<WtsMemoryTraits>;

// Whether memory that wtsapi32 hands out can be given back: ask nothing of
// it otherwise.
inline bool wts_memory_can_be_freed() noexcept {
  return wts_free_memory.as<void (*)()>() != nullptr;
}

}  // namespace toolcase
