#include "host/module_strings.h"

namespace toolcase {

void ModuleString::assign(std::string_view value) noexcept {
  AcquireSRWLockExclusive(&lock_);
  value_.assign(value);
  ReleaseSRWLockExclusive(&lock_);
}

Text ModuleString::value() const noexcept {
  AcquireSRWLockShared(&lock_);
  Text copy = value_;
  ReleaseSRWLockShared(&lock_);
  return copy;
}

ModuleString ScratchText;
ModuleString CaptionTarget;
ModuleString CaptionText;
ModuleString ProductCaption{"Wrenchbox v1.0"};

}  // namespace toolcase
