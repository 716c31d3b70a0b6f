// Strings that live from load to unload. Several commands share them, and a
// $dllcall worker may run one command while the host's thread runs another,
// so each string is locked while it is assigned or read, never longer.
#pragma once

#include <string_view>

#include "host/bounded_text.h"
#include "host/spin_lock.h"

namespace toolcase {

class ModuleString {
 public:
  ModuleString() = default;
  explicit ModuleString(std::string_view initial) noexcept : value_(initial) {}
  ModuleString(const ModuleString&) = delete;
  ModuleString& operator=(const ModuleString&) = delete;

  void assign(std::string_view value) noexcept;
  Text value() const noexcept;

 private:
  mutable SpinLock lock_;
  Text value_;
};

// Caption of the information box.
extern ModuleString ProductCaption;
// The working text of whichever of ComputerName, MessageDialog, Beep ran last.
extern ModuleString ScratchText;
// The window part and the new caption of the last ChangeWindowText.
extern ModuleString CaptionTarget;
extern ModuleString CaptionText;

}  // namespace toolcase
