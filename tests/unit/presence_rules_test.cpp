#include "presence/presence_rules.h"

#include <gtest/gtest.h>

using namespace toolcase::presence;

// Each row a reading; the first fact that holds decides.
TEST(PresenceWord, IsTheFirstThatHolds) {
  const auto facts = [](std::optional<std::int32_t> flags, bool reversed, std::optional<bool> on_screen,
                        bool saver, std::optional<int> state, bool windows_10,
                        std::optional<bool> desktop_opens) {
    return PresenceFacts{flags, reversed, on_screen, saver, state, windows_10, desktop_opens};
  };
  const struct {
    PresenceFacts facts;
    const char* word;
  } rows[] = {
      {facts(kSessionLocked, false, true, true, kBusy, true, {}), "locked"},
      {facts(kSessionUnlocked, true, true, false, kAcceptsNotifications, true, {}), "locked"},
      {facts(kSessionLocked, true, true, false, kAcceptsNotifications, true, {}), "here"},
      {facts(-1, false, true, true, kAcceptsNotifications, true, {}), "screensaver"},
      {facts(kSessionUnlocked, false, false, false, kAcceptsNotifications, true, {}), "locked"},
      {facts({}, false, {}, false, kNotPresent, true, {}), "locked"},
      {facts({}, false, {}, false, kD3dFullScreen, true, {}), "game"},
      {facts({}, false, {}, false, kPresentationMode, true, {}), "presenting"},
      {facts({}, false, {}, false, kBusy, true, {}), "fullscreen"},
      {facts({}, false, {}, false, kApp, true, {}), "here"},
      {facts({}, false, {}, false, kApp, false, {}), "fullscreen"},
      {facts({}, false, {}, false, kQuietTime, false, {}), "here"},
      {facts({}, false, {}, false, {}, false, false), "locked"},
      {facts({}, false, {}, false, {}, false, true), "here"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(presence_word(row.facts), row.word)
        << row.facts.session_flags.value_or(99) << " " << row.facts.notification_state.value_or(99);
  }
}
