#include "host/module_strings.h"

namespace toolcase {

void ModuleString::assign(std::string_view value) noexcept {
  const SpinLock::Guard guard(lock_);
  value_.assign(value);
}

Text ModuleString::value() const noexcept {
  const SpinLock::Guard guard(lock_);
  return value_;
}

ModuleString ScratchText;
ModuleString CaptionTarget;
ModuleString CaptionText;
ModuleString ProductCaption{"Wrenchbox v1.0"};

}  // namespace toolcase
