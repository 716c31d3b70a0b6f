#include "network/network_rules.h"

#include "host/text.h"

namespace toolcase::network {

std::optional<SpeedText> speed_text(std::uint64_t bits_per_second) noexcept {
  if (bits_per_second == 0 || bits_per_second == UINT64_MAX) return std::nullopt;
  // In tenths of a megabit; the sum cannot overflow short of the value all bits set.
  const std::uint64_t tenths = bits_per_second / 100'000 + (bits_per_second % 100'000 >= 50'000 ? 1 : 0);
  SpeedText text;
  // Whole megabits fit 32 bits up to 4.29 Pbit/s; no adapter comes near.
  const std::uint64_t whole = tenths / 10;
  if (whole > UINT32_MAX) return std::nullopt;
  text.append(text::id_to_text(static_cast<std::uint32_t>(whole)));
  if (tenths % 10 != 0) {
    text.push_back('.');
    text.push_back(static_cast<char>('0' + tenths % 10));
  }
  text.append("Mbps");
  return text;
}

std::uint64_t bytes_between(std::uint64_t before, std::uint64_t after, bool wide) noexcept {
  if (!wide) return static_cast<std::uint32_t>(static_cast<std::uint32_t>(after) - static_cast<std::uint32_t>(before));
  return after >= before ? after - before : after;
}

std::uint64_t microseconds_of(std::uint64_t count, std::uint64_t frequency) noexcept {
  if (frequency == 0) return 0;
  // Apart, so that no product can overflow.
  return count / frequency * 1'000'000 + count % frequency * 1'000'000 / frequency;
}

std::uint64_t per_second(std::uint64_t bytes, std::uint64_t microseconds) noexcept {
  if (microseconds == 0) return 0;
  // Apart, so that no product can overflow: the rest stays below the time,
  // which stays far below 2^44 microseconds (half a year).
  const std::uint64_t whole = bytes / microseconds, rest = bytes % microseconds;
  return whole * 1'000'000 + (rest * 1'000'000 + microseconds / 2) / microseconds;
}

bool RateMeter::record(const CounterReading& reading) noexcept {
  if (last_ && last_->adapter == reading.adapter && last_->wide == reading.wide) {
    if (reading.microseconds < last_->microseconds + kFreshMicroseconds) return false;
    previous_ = last_;
  } else {
    previous_.reset();
  }
  last_ = reading;
  return true;
}

bool RateMeter::is_fresh(std::uint32_t adapter, std::uint64_t now) const noexcept {
  return last_ && last_->adapter == adapter && now < last_->microseconds + kFreshMicroseconds;
}

bool RateMeter::has_rates(std::uint32_t adapter) const noexcept {
  return previous_ && last_->adapter == adapter;
}

Rates RateMeter::rates() const noexcept {
  if (!previous_) return {0, 0};
  const std::uint64_t elapsed = last_->microseconds - previous_->microseconds;
  return {per_second(bytes_between(previous_->received, last_->received, last_->wide), elapsed),
          per_second(bytes_between(previous_->sent, last_->sent, last_->wide), elapsed)};
}

}  // namespace toolcase::network
