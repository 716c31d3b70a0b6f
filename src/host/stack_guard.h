// The stack guard: every function compiled with -fstack-protector-strong
// that holds a local array or an address-taken local keeps a copy of one
// random value below its return address and compares it before returning. A
// write past the end of such a local (a text from IRC, one day copied without
// its bound) changes the copy, and the process ends there rather than run
// the attacker's code.
#pragma once

namespace toolcase {

// Sets the value from the platform's random generator. Called once per load,
// before any guarded function runs: a guarded frame that is live while the
// value changes would end the process on its return.
void set_stack_guard() noexcept;

}  // namespace toolcase
