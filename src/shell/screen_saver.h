// Whether a screen saver is chosen. Windows 10 and 11 ship with none: the
// taskbar still takes the request to start one, answers that it did, and
// nothing starts.
#pragma once

namespace toolcase::shell {

// True when the saver that Windows would start names a file that exists: a
// policy's choice where there is one, else the user's.
bool screen_saver_is_chosen() noexcept;

}  // namespace toolcase::shell
