// A lock for the library's few shared values, made of one atomic flag: it
// holds no handle and no memory, so a load leaves nothing to give back at
// unload, and it needs nothing newer than Windows XP. Each value is held for
// a copy of at most 900 bytes, so a waiter spins briefly and then gives its
// time slice away.
#pragma once

#include <windows.h>

#include <atomic>

namespace toolcase {

class SpinLock {
 public:
  constexpr SpinLock() noexcept = default;
  SpinLock(const SpinLock&) = delete;
  SpinLock& operator=(const SpinLock&) = delete;

  void lock() noexcept {
    unsigned turns = 0;
    while (held_.exchange(true, std::memory_order_acquire)) {
      // Waits on a plain read, not on further exchanges.
      while (held_.load(std::memory_order_relaxed)) pause(++turns);
    }
  }
  void unlock() noexcept { held_.store(false, std::memory_order_release); }

  class Guard {
   public:
    explicit Guard(SpinLock& lock) noexcept : lock_(lock) { lock_.lock(); }
    ~Guard() { lock_.unlock(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    SpinLock& lock_;
  };

 private:
  // After a few turns the holder may be waiting for this processor: let it run.
  static void pause(unsigned turns) noexcept {
    if (turns > kSpinsBeforeYielding) Sleep(turns > kYieldsBeforeSleeping ? 1 : 0);
  }

  static constexpr unsigned kSpinsBeforeYielding = 64;
  // Sleep(0) yields only to threads of the same priority; Sleep(1) to any.
  static constexpr unsigned kYieldsBeforeSleeping = 256;
  std::atomic<bool> held_{false};
};

}  // namespace toolcase
