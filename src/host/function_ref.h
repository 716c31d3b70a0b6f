// A reference to something callable, for functions that take a callback
// without being templates of their own (one copy of their code, whatever
// the caller passes). It owns nothing: the callable must outlive the call,
// as a lambda written in the call's arguments does.
#pragma once

#include <type_traits>

namespace toolcase {

template <typename Signature>
class FunctionRef;

template <typename Result, typename... Arguments>
class FunctionRef<Result(Arguments...)> {
 public:
  template <typename Callable, typename = std::enable_if_t<
                                   !std::is_same_v<std::remove_cvref_t<Callable>, FunctionRef>>>
  FunctionRef(Callable&& callable) noexcept  // NOLINT(google-explicit-constructor)
      : callable_(&callable), call_([](void* target, Arguments... arguments) -> Result {
          return (*static_cast<std::remove_reference_t<Callable>*>(target))(arguments...);
        }) {}

  Result operator()(Arguments... arguments) const { return call_(callable_, arguments...); }

 private:
  void* callable_;
  Result (*call_)(void*, Arguments...);
};

}  // namespace toolcase
