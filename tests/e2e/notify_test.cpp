// MessageDialog and Beep through the real message box and alert sounds: the
// test owns the main window, finds each box, reads it and presses a button.
#include <windows.h>

#include <gtest/gtest.h>

#include <future>
#include <string>
#include <tuple>
#include <vector>

#include "host/module_strings.h"
#include "linked_commands.h"
#include "message_box_watcher.h"
#include "notify_box_watch.h"
#include "test_window.h"
#include "toolcase_dll.h"

using namespace toolcase;
using namespace toolcase::e2e;

namespace {

constexpr DWORD kBoxTimeoutMs = 5000;

// A main window of the test's own, and a guard that closes any box still up
// after the watchers have given up, so a missed box fails the test instead of
// hanging it.
class MessageDialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(backstop_.stop(), std::vector<std::string>{}) << "boxes nobody pressed";
    EXPECT_TRUE(IsWindowEnabled(host_.handle())) << "the owner stayed disabled";
  }

  HWND owner() const { return host_.handle(); }

  struct Shown {
    std::string answer;
    SeenBox box;
  };

  // Calls the DLL with line, presses button in the box captioned caption.
  Shown show(const std::string& line, const std::string& caption, int button) {
    MessageBoxWatcher watcher(caption, button, kBoxTimeoutMs);
    Shown shown;
    shown.answer = call("MessageDialog", line, owner());
    shown.box = watcher.result();
    return shown;
  }

 private:
  TestWindow host_{unique_name("toolcase-notify"), unique_name("toolcase notify host"), true};
  StrayBoxGuard backstop_{kBoxTimeoutMs + 1000};
};

struct ButtonCase {
  const char* buttons;
  int press;
  const char* answer;
  std::vector<int> ids;
};

}  // namespace

TEST_F(MessageDialogTest, EveryButtonAnswersItsWord) {
  const std::vector<int> ok = {IDOK};
  const std::vector<int> yes_no = {IDYES, IDNO};
  const std::vector<int> abort_retry_ignore = {IDABORT, IDRETRY, IDIGNORE};
  const std::vector<int> yes_no_cancel = {IDCANCEL, IDYES, IDNO};
  const std::vector<ButtonCase> cases = {
      {"ok", IDOK, "ok", ok},
      {"yesno", IDYES, "yes", yes_no},
      {"yesno", IDNO, "no", yes_no},
      {"abortretryignore", IDABORT, "abort", abort_retry_ignore},
      {"abortretryignore", IDRETRY, "retry", abort_retry_ignore},
      {"abortretryignore", IDIGNORE, "ignore", abort_retry_ignore},
      {"yesnocancel", IDYES, "yes", yes_no_cancel},
      {"yesnocancel", IDNO, "no", yes_no_cancel},
      {"yesnocancel", IDCANCEL, "cancel", yes_no_cancel},
  };
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(std::string(c.buttons) + " pressing " + c.answer);
    const std::string caption = unique_name("Confirm");
    const Shown shown = show(std::string(c.buttons) + ";question;" + caption + ";Delete the log?",
                             caption, c.press);
    EXPECT_EQ(shown.answer, c.answer);
    ASSERT_TRUE(shown.box.found);
    EXPECT_EQ(shown.box.owner, owner());
    EXPECT_EQ(shown.box.caption, caption);
    EXPECT_EQ(shown.box.text, "Delete the log?");
    EXPECT_EQ(shown.box.button_ids, c.ids);
    EXPECT_EQ(shown.box.icon, LoadIconA(nullptr, IDI_QUESTION));
  }
}

TEST_F(MessageDialogTest, EachIconKeywordShowsItsIcon) {
  struct IconCase {
    const char* keyword;
    LPCSTR icon;
  };
  const std::vector<IconCase> cases = {{"information", IDI_INFORMATION},
                                       {"error", IDI_ERROR},
                                       {"warning", IDI_WARNING},
                                       {"question", IDI_QUESTION}};
  std::vector<HICON> shown_icons;
  for (const IconCase& c : cases) {
    SCOPED_TRACE(c.keyword);
    const std::string caption = unique_name("Icon");
    const Shown shown =
        show(std::string("ok;") + c.keyword + ";" + caption + ";Look at me", caption, IDOK);
    EXPECT_EQ(shown.answer, "ok");
    ASSERT_TRUE(shown.box.found);
    EXPECT_EQ(shown.box.icon, LoadIconA(nullptr, c.icon));
    EXPECT_NE(shown.box.icon, nullptr);
    shown_icons.push_back(shown.box.icon);
  }
  // Four different icons, or the comparison above proves nothing.
  for (std::size_t i = 0; i < shown_icons.size(); ++i) {
    for (std::size_t j = i + 1; j < shown_icons.size(); ++j) {
      EXPECT_NE(shown_icons[i], shown_icons[j]);
    }
  }
}

TEST_F(MessageDialogTest, KeywordsMatchInAnyCaseAndBlanksAfterSemicolonsGo) {
  const std::string caption = unique_name("Title");
  const Shown shown = show("YesNo; Information;   " + caption + "; Hello", caption, IDNO);
  EXPECT_EQ(shown.answer, "no");
  ASSERT_TRUE(shown.box.found);
  EXPECT_EQ(shown.box.caption, caption);
  EXPECT_EQ(shown.box.text, "Hello");
  EXPECT_EQ((std::vector<int>{IDYES, IDNO}), shown.box.button_ids);
  EXPECT_EQ(shown.box.icon, LoadIconA(nullptr, IDI_INFORMATION));
}

TEST_F(MessageDialogTest, TheMessageKeepsFurtherSemicolonsCaseAndTrailingBlanks) {
  const std::string caption = unique_name("T");
  const Shown shown = show("ok;warning;" + caption + ";a;B;c  ", caption, IDOK);
  EXPECT_EQ(shown.answer, "ok");
  EXPECT_EQ(shown.box.text, "a;B;c  ");
}

TEST_F(MessageDialogTest, WithoutAThirdSemicolonTheCaptionIsEmpty) {
  struct EmptyCaptionCase {
    const char* line;
    const char* text;
    LPCSTR icon;
  };
  for (const EmptyCaptionCase& c :
       {EmptyCaptionCase{"ok;information;Hello there", "Hello there", IDI_INFORMATION},
        EmptyCaptionCase{"ok;error;abc", "abc", IDI_ERROR}}) {
    SCOPED_TRACE(c.line);
    OwnedBoxWatcher watcher(owner(), IDOK, kBoxTimeoutMs);
    EXPECT_EQ(call("MessageDialog", c.line, owner()), "ok");
    const OwnedBox shown = watcher.result();
    ASSERT_TRUE(shown.box.found);
    // An empty text, not a null pointer, which would make the caption "Error".
    EXPECT_EQ(shown.box.caption, "");
    EXPECT_EQ(shown.box.text, c.text);
    EXPECT_EQ(shown.box.button_ids, std::vector<int>{IDOK});
    EXPECT_EQ(shown.box.icon, LoadIconA(nullptr, c.icon));
  }
}

TEST_F(MessageDialogTest, TheBoxIsModalToTheMainWindow) {
  OwnedBoxWatcher watcher(owner(), IDOK, kBoxTimeoutMs);
  EXPECT_EQ(call("MessageDialog", "ok;warning;" + unique_name("Modal") + ";Wait", owner()), "ok");
  const OwnedBox shown = watcher.result();
  ASSERT_TRUE(shown.box.found);
  EXPECT_EQ(shown.box.owner, owner());
  EXPECT_FALSE(shown.owner_enabled) << "the owner took input while the box was up";
  EXPECT_TRUE(IsWindowEnabled(owner()));
}

// Called on a thread of its own, as $dllcall calls, a box leaves the main
// window usable. This thread pumps meanwhile: an owned box would wait for it
// to disable and enable the owner.
TEST_F(MessageDialogTest, FromAnotherThreadTheBoxHasNoOwnerAndTheMainWindowStaysEnabled) {
  const std::string caption = unique_name("Apart");
  std::future<std::string> answer = std::async(std::launch::async, [&] {
    return call("MessageDialog", "ok;information;" + caption + ";Hello", owner());
  });
  HWND box = nullptr;
  for (int waited = 0; waited < 250 && !(box = FindWindowA("#32770", caption.c_str())); ++waited) {
    pump_messages();
    Sleep(20);
  }
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowEnabled(owner()));
  press_button(box, IDOK);
  while (answer.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
    pump_messages();
  }
  EXPECT_EQ(answer.get(), "ok");
}

TEST_F(MessageDialogTest, AResultOutsideTheSevenButtonsAnswersError) {
  // The box ends with whatever command id it is sent, here IDTRYAGAIN (10).
  const std::string caption = unique_name("Other");
  const Shown shown = show("ok;error;" + caption + ";Try again", caption, IDTRYAGAIN);
  ASSERT_TRUE(shown.box.found);
  EXPECT_EQ(shown.answer, "error");
}

TEST_F(MessageDialogTest, AnswersErrorWhenTheBoxCannotBeShown) {
  // A window handle that names no window: the platform refuses the box.
  const HWND no_window = reinterpret_cast<HWND>(0x7FFFFFF0);
  StrayBoxGuard guard(0);
  EXPECT_EQ(call("MessageDialog", "ok;information;" + unique_name("None") + ";Hello", no_window),
            "error");
  ScratchText.assign("before");
  EXPECT_EQ(
      call_linked(&MessageDialog, "ok;information;" + unique_name("None") + ";Hello", no_window),
      "error");
  EXPECT_EQ(ScratchText.value(), "");
  EXPECT_EQ(guard.stop(), std::vector<std::string>{});
}

TEST_F(MessageDialogTest, RefusedLinesShowNoBox) {
  StrayBoxGuard guard(0);
  for (const std::string& line : std::vector<std::string>{
           "", "ok;error;ab", "okinformationhello", " ok;information;T;Hello",
           "ok;warning ;T;Hello", "ok;information;T;x", "ok;information;Title;",
           "ok;" + std::string(10, ' '), "okay;information;T;Hello", "ok;info;T;Hello",
           "ok;information", "ok;      ;T;Hello", "o;information;T;Hello", "ok;question\t;T;Hello",
           "ok\t;question;T;Hello"}) {
    EXPECT_EQ(call("MessageDialog", line, owner()), "error") << '"' << line << '"';
  }
  EXPECT_EQ(guard.stop(), std::vector<std::string>{});
}

TEST_F(MessageDialogTest, ScratchTextHoldsWhatWasNotYetCut) {
  struct ScratchCase {
    std::string line;
    std::string left;
  };
  const std::vector<ScratchCase> cases = {
      {"ok;error;ab", "ok;error;ab"},
      {"   okinformation", "okinformation"},
      {"o;information;T;Hello", "information;T;Hello"},
      {"ok;info;  T;Hello", "T;Hello"},
      {"ok;information;T;x", ""},
      {"okay;information;T;Hello", ""},
  };
  StrayBoxGuard guard(0);
  for (const ScratchCase& c : cases) {
    ScratchText.assign("before");
    EXPECT_EQ(call_linked(&MessageDialog, c.line, owner()), "error") << c.line;
    EXPECT_EQ(ScratchText.value(), c.left) << c.line;
  }
  EXPECT_EQ(guard.stop(), std::vector<std::string>{});

  ScratchText.assign("before");
  const std::string caption = unique_name("Shown");
  MessageBoxWatcher watcher(caption, IDOK, kBoxTimeoutMs);
  EXPECT_EQ(call_linked(&MessageDialog, "ok;information;" + caption + ";Hello", owner()), "ok");
  EXPECT_TRUE(watcher.result().found);
  EXPECT_EQ(ScratchText.value(), "");
}

TEST(Beep, EachKeywordInAnyCaseAnswersTrue) {
  for (const char* keyword : {"information", "Information", "INFORMATION", "warning", "WaRnInG",
                              "error", "ERROR", "default", "Default"}) {
    EXPECT_EQ(call("Beep", keyword), "true") << keyword;
  }
}

TEST(Beep, AnythingElseAnswersError) {
  for (const char* other : {"question", " default", "default ", "", "info", "\xC5rror", "ok"}) {
    EXPECT_EQ(call("Beep", other), "error") << '"' << other << '"';
  }
}

TEST(Beep, ScratchTextHoldsTheLowerCasedInputAndNothingElseChanges) {
  CaptionTarget.assign("target");
  CaptionText.assign("caption");
  for (const auto& [input, answer, lowered] :
       std::vector<std::tuple<std::string, std::string, std::string>>{
           {"WARNING", "true", "warning"},
           {"Question", "error", "question"},
           {" DeFault", "error", " default"},
           {"\xC4RROR", "error", "\xC4rror"},
           {"", "error", ""}}) {
    ScratchText.assign("before");
    EXPECT_EQ(call_linked(&BeepCommand, input), answer) << input;
    EXPECT_EQ(ScratchText.value(), lowered) << input;
  }
  EXPECT_EQ(CaptionTarget.value(), "target");
  EXPECT_EQ(CaptionText.value(), "caption");
}
