// Network: the adapter Windows routes Internet traffic through, its speed and
// its traffic.
#include <array>
#include <string_view>
#include <utility>

#include "host/command.h"
#include "host/spin_lock.h"
#include "host/text.h"
#include "network/network_reading.h"
#include "network/network_rules.h"

using namespace toolcase;
using namespace toolcase::network;

namespace {

enum class NetworkFact { name, description, speed, received, sent, down, up };

constexpr std::array<text::Keyword<NetworkFact>, 7> kFacts{{
    {"name", NetworkFact::name},
    {"description", NetworkFact::description},
    {"speed", NetworkFact::speed},
    {"received", NetworkFact::received},
    {"sent", NetworkFact::sent},
    {"down", NetworkFact::down},
    {"up", NetworkFact::up},
}};

// The last two counter readings, shared by every caller ($dllcall calls on
// threads of its own); the lock covers copies only, never a platform call.
constinit SpinLock meter_lock;
constinit RateMeter meter;

RateMeter copy_of_meter() {
  const SpinLock::Guard guard(meter_lock);
  return meter;
}

// Whether the reading is due is decided here, under the lock: another
// caller may have recorded a later one since this one was taken.
void record(const CounterReading& reading) {
  const SpinLock::Guard guard(meter_lock);
  meter.record(reading);
}

// Waits until a quarter second has passed since `start` by the performance
// counter: a Sleep slice may last a whole tick of Windows' timer.
void wait_until_due(std::uint64_t start) {
  for (std::uint64_t passed = microseconds_now() - start; passed < RateMeter::kFreshMicroseconds;
       passed = microseconds_now() - start) {
    Sleep(static_cast<DWORD>((RateMeter::kFreshMicroseconds - passed + 999) / 1000));
  }
}

// The rates over the last two readings: a new reading when the last is a
// quarter second old or more; a second one a quarter second later when
// there is no earlier one of this adapter, unless the call may not wait.
std::optional<Rates> current_rates(AdapterIndex adapter, bool may_wait) {
  if (!copy_of_meter().is_fresh(adapter.index, microseconds_now())) {
    const std::optional<CounterReading> reading = read_counters(adapter);
    if (!reading) return std::nullopt;
    record(*reading);
    if (may_wait && !copy_of_meter().has_rates(adapter.index)) {
      wait_until_due(reading->microseconds);
      const std::optional<CounterReading> second = read_counters(adapter);
      if (!second) return std::nullopt;
      record(*second);
    }
  }
  const RateMeter now = copy_of_meter();
  if (!now.has_rates(adapter.index)) return std::nullopt;
  return now.rates();
}

// A whole number with no unit, as mIRC's $bytes() takes it.
Text whole_number(std::uint64_t value) {
  // Written from the right.
  std::array<char, 20> digits{};
  std::size_t start = digits.size();
  do {
    digits[--start] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return Text(std::string_view(digits.data() + start, digits.size() - start));
}

Text network_fact(AdapterIndex adapter, NetworkFact fact, TextEncoding encoding, bool may_wait) {
  switch (fact) {
    case NetworkFact::name:
    case NetworkFact::description: {
      AdapterNames names;
      if (!adapter_names(adapter, encoding, names)) return Text(kFalse);
      const Text& answer = fact == NetworkFact::name ? names.name : names.description;
      return answer.empty() ? Text(kFalse) : answer;
    }
    case NetworkFact::speed: {
      const std::optional<SpeedText> speed = speed_text(receive_speed(adapter));
      return speed ? Text(*speed) : Text(kFalse);
    }
    case NetworkFact::received:
    case NetworkFact::sent: {
      const std::optional<CounterReading> reading = read_counters(adapter);
      if (!reading) return Text(kFalse);
      return whole_number(fact == NetworkFact::received ? reading->received : reading->sent);
    }
    case NetworkFact::down:
    case NetworkFact::up:
      break;
  }
  const std::optional<Rates> rates = current_rates(adapter, may_wait);
  if (!rates) return Text(kFalse);
  return whole_number(fact == NetworkFact::down ? rates->down : rates->up);
}

}  // namespace

// "name", "description", "speed", "received", "sent", "down", "up".
TOOLCASE_COMMAND(Network) {
  return run_text_command(data, main_window, [no_pause](const Text& input, TextEncoding encoding) {
    const std::optional<NetworkFact> fact = text::look_up(kFacts, input);
    if (!fact) return Text(kError);
    const std::optional<AdapterIndex> adapter = adapter_in_use();
    if (!adapter) return Text(kFalse);
    return network_fact(*adapter, *fact, encoding, no_pause == FALSE);
  });
}
