// What the library says about itself.
#pragma once

namespace toolcase {

// Shown in the information box; lines end in a bare CR.
inline constexpr char kFullInfoText[] =
    "Name: Wrenchbox\r"
    "Type: mIRC DLL\r"
    "Version: 1.0.0.1\r"
    "Author: wrenchsmith\r"
    "\r"
    "Copyright (c) 2026 wrenchsmith.\r"
    "  All rights reserved.  \r"
    "\r"
    " Thanks for scripting with Wrenchbox!";

// The answer when no box is asked for: one line.
inline constexpr char kShortInfoText[] =
    "Wrenchbox v1.0. Copyright (c) 2026 wrenchsmith, all rights reserved.";

}  // namespace toolcase
