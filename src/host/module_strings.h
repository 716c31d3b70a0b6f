// Strings that live from load to unload. Several commands share them, and a
// $dllcall worker may run one command while the host's thread runs another,
// so each string is locked while it is assigned or read, never longer.
#pragma once

#include <mutex>
#include <string>

namespace toolcase {

class ModuleString {
 public:
  ModuleString() = default;
  explicit ModuleString(std::string initial) : value_(std::move(initial)) {}
  ModuleString(const ModuleString&) = delete;
  ModuleString& operator=(const ModuleString&) = delete;

  void assign(std::string value);
  std::string value() const;

 private:
  mutable std::mutex lock_;
  std::string value_;
};

// Caption of the information box.
extern ModuleString ProductCaption;
// The working text of whichever of ComputerName, MessageDialog, Beep ran last.
extern ModuleString ScratchText;
// The window part and the new caption of the last ChangeWindowText.
extern ModuleString CaptionTarget;
extern ModuleString CaptionText;

}  // namespace toolcase
