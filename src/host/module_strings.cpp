#include "host/module_strings.h"

#include <utility>

namespace toolcase {

void ModuleString::assign(std::string value) {
  std::lock_guard<std::mutex> guard(lock_);
  // The old value leaves with the parameter, after the lock is released.
  value_.swap(value);
}

std::string ModuleString::value() const {
  std::lock_guard<std::mutex> guard(lock_);
  return value_;
}

// Defined in one unit in this order so that unloading, which destroys in
// reverse, releases ProductCaption, CaptionText, CaptionTarget, ScratchText.
ModuleString ScratchText;
ModuleString CaptionTarget;
ModuleString CaptionText;
ModuleString ProductCaption{"Wrenchbox v1.0"};

}  // namespace toolcase
