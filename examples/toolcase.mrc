; toolcase.mrc - mIRC wrappers for every command of toolcase.dll
;
; Put toolcase.dll beside this script and load it with:  /load -rs toolcase.mrc
; Identifiers ($tc.xxx) return the DLL's answer; commands (/tc.xxx) act and echo it.
; Most commands answer "true", "false" (the platform said no) or "error" (input not
; understood, or nothing found to act on). Answers are at most 899 bytes.

; Where the DLL is: beside this script.
alias -l tc.dll { return $scriptdir $+ toolcase.dll }

; $tc.info -> one-line information about the library. /tc.about shows the full box.
alias tc.info { return $dll($tc.dll, DLLInfo, ) }
; /tc.about shows the information box without blocking mIRC ($dllcall calls on another thread).
alias tc.about { noop $dllcall($tc.dll, tc.called, DLLInfo, msg) }
; $dllcall runs this alias when the call returns. The command's answer does not reach it, so
; $dllcall serves only calls whose answer is not needed; it must be a global alias.
alias tc.called { return }

; ---- Windows: WINDOW is a window's class name (tried first) or its exact title ----
; $tc.visible(WINDOW) -> true/false
alias tc.visible { return $dll($tc.dll, WindowIsVisible, $1-) }
; /tc.show WINDOW -> true, false, or error (not found / already visible)
alias tc.show { echo -a $dll($tc.dll, WindowShow, $1-) }
; /tc.hide WINDOW -> true, false, or error (not found / already hidden)
alias tc.hide { echo -a $dll($tc.dll, WindowHide, $1-) }
; /tc.enable WINDOW -> true (was disabled), false (already enabled, or refused), error (not found)
alias tc.enable { echo -a $dll($tc.dll, WindowEnable, $1-) }
; /tc.disable WINDOW -> true (was enabled), false (already disabled, or refused), error (not found)
alias tc.disable { echo -a $dll($tc.dll, WindowDisable, $1-) }
; /tc.activate WINDOW -> true when brought to the foreground (a minimised window is restored)
alias tc.activate { echo -a $dll($tc.dll, WindowActivate, $1-) }
; /tc.minimize WINDOW -> true when the window was visible before
alias tc.minimize { echo -a $dll($tc.dll, WindowMinimize, $1-) }
; /tc.maximize WINDOW -> true when the window was visible before
alias tc.maximize { echo -a $dll($tc.dll, WindowMaximize, $1-) }
; /tc.close WINDOW -> true when the close request was queued (the program may still refuse)
alias tc.close { echo -a $dll($tc.dll, WindowClose, $1-) }
; $tc.caption(WINDOW) -> the caption; false when empty; error when not found
alias tc.caption { return $dll($tc.dll, WindowText, $1-) }
; /tc.setcaption WINDOW;NEW CAPTION -> true/false/error
alias tc.setcaption { echo -a $dll($tc.dll, ChangeWindowText, $1-) }
; $tc.find(PATTERN) -> the title of the first window whose whole title matches PATTERN
;   (* any characters, ? one character, any letter case), or error: $tc.find(* - Notepad)
alias tc.find { return $dll($tc.dll, WindowFind, $1-) }
; /tc.topmost on|off WINDOW -> keeps the window above the others, or not: true/false/error
alias tc.topmost { echo -a $dll($tc.dll, WindowTopmost, $1 $+ ; $+ $2-) }
; $tc.pos(WINDOW) -> x y width height of the window as it is drawn, in the screen's real pixels
alias tc.pos {
  if ($1- == $null) { echo -a usage: $!tc.pos(WINDOW) | return }
  return $dll($tc.dll, WindowPos, $1-)
}
; /tc.move X Y [WIDTH HEIGHT] WINDOW -> moves (and sizes) the window: true/false/error
alias tc.move {
  if ($4 isnum) && ($5 != $null) { echo -a $dll($tc.dll, WindowMove, $1-4 $+ ; $+ $5-) }
  elseif ($3 != $null) { echo -a $dll($tc.dll, WindowMove, $1-2 $+ ; $+ $3-) }
  else { echo -a usage: /tc.move X Y [WIDTH HEIGHT] WINDOW }
}
; $tc.monitor(count | N | N work | N scale | of;WINDOW) -> the monitors in real pixels:
;   $tc.monitor(1) -> 0 0 1920 1080 (monitor 1 is the primary one), $tc.monitor(2 scale) -> 150%,
;   $tc.monitor(of;Notepad) -> the monitor holding most of the window, 0 for none
alias tc.monitor { return $dll($tc.dll, Monitor, $1-) }
; /tc.rescue WINDOW -> a window that lies on no monitor (left behind by a monitor that was
;   unplugged) goes to the top-left corner of the primary monitor's work area; one on a monitor stays.
alias tc.rescue {
  if ($1- == $null) { echo -a usage: /tc.rescue WINDOW | return }
  var %on = $tc.monitor(of; $+ $1-)
  if (%on !isnum) { echo -a %on | return }
  if (%on > 0) { echo -a already on monitor %on $+ : $tc.pos($1-) | return }
  tokenize 32 $tc.monitor(1 work) $1-
  echo -a $dll($tc.dll, WindowMove, $1 $2 $+ ; $+ $5-)
}

; ---- Processes: NAME is an executable name such as notepad.exe (any letter case), or pid:N ----
; $tc.running(NAME) -> true/false
alias tc.running { return $dll($tc.dll, ProcessIsRunning, $1-) }
; /tc.kill NAME -> ends EVERY process of that name (mIRC's own too!), or the one process pid:N: true/false
alias tc.kill { echo -a $dll($tc.dll, KillProcess, $1-) }
; $tc.process(pid|name|path|window, NAME or pid:N or hwnd:N) -> ids, file name, full path or window handle
alias tc.process { return $dll($tc.dll, Process, $1 $+ ; $+ $2-) }

; ---- The window in front ----
; $tc.front -> the program in front (firefox.exe), false when none; $tc.front(title|class|hwnd|pid|path)
; /tc.front -> echoes the program and the title in front to your own window only: a title
;   can hold what you would not share (a mail's subject, a private tab)
alias tc.front {
  if ($isid) return $dll($tc.dll, Foreground, $iif($1 != $null, $1, exe))
  echo -a $dll($tc.dll, Foreground, exe) - $dll($tc.dll, Foreground, title)
}

; ---- Shell ----
; /tc.screensaver -> starts the screen saver; true/false (false: none chosen; error: no taskbar)
alias tc.screensaver { echo -a $dll($tc.dll, ScreenSaver, ) }
; /tc.startbutton show|hide|simulate -> true/false/error (error: already so, or no Start button)
alias tc.startbutton { echo -a $dll($tc.dll, StartButton, $1) }
; /tc.desktopicons disable|enable|show|hide -> true/false/error (error: already so, or no icons)
alias tc.desktopicons { echo -a $dll($tc.dll, DesktopIcons, $1) }

; ---- Machine facts and folders ----
; $tc.computer -> the computer's name
alias tc.computer { return $dll($tc.dll, ComputerName, get) }
; /tc.rename NAME -> renames the computer (1 to 15 characters; needs administrator rights; takes effect after a restart)
alias tc.rename { echo -a $dll($tc.dll, ComputerName, set $1) }
; $tc.idle -> whole seconds since the last keyboard or mouse input on this computer
alias tc.idle { return $dll($tc.dll, IdleTime, ) }
; /tc.autoaway MINUTES -> sets you away once MINUTES pass without keyboard or mouse input, and
;   back at the first key or move; an idle watch tells the script (see Watches below). A
;   presence watch sets you away at once when the computer is locked, and back when it is
;   unlocked if it set the away itself. /tc.autoaway off stops both.
alias tc.autoaway {
  if ($1 == off) { echo -a $dll($tc.dll, WatchStop, tc-away) $dll($tc.dll, WatchStop, tc-here) | return }
  if ($1 !isnum 1-1440) { echo -a usage: /tc.autoaway MINUTES, or /tc.autoaway off | return }
  echo -a $dll($tc.dll, Watch, tc-away;idle $calc($1 * 60)) $dll($tc.dll, Watch, tc-here;presence)
}
; $tc.presence -> locked, screensaver, game, presenting, fullscreen or here
alias tc.presence { return $dll($tc.dll, Presence, ) }
; $tc.user -> the name of the user mIRC runs as
alias tc.user { return $dll($tc.dll, UserName, ) }
; $tc.memory(total|used|available|pfilesize|pfileavailable|vmemorytotal|vmemoryavailable)
;   -> e.g. 523760KB, or 37% for used
alias tc.memory { return $dll($tc.dll, Memory, $1) }
; $tc.screen(width|height|resolution|hz|bits) -> e.g. 1024, 768, 1024x768, 60, 32
alias tc.screen { return $dll($tc.dll, Screen, $1) }
; $tc.dir(system|windows|temp|fulltemp) -> a folder; temp and fulltemp end in \
alias tc.dir { return $dll($tc.dll, GetDir, $1) }
; $tc.longpath(PATH) -> the path with the names the file system stores (C:\PROGRA~1 -> C:\Program Files)
alias tc.longpath { return $dll($tc.dll, ExtractFullPath, $1-) }

; ---- Machine facts for a sysinfo line ----
; $tc.os(name|version|build|release|bits|installed) -> e.g. Windows 11 Pro, 10.0.22631, 22631.4317,
;   23H2, 64, when Windows was installed (or last updated to a new release) for $asctime
alias tc.os { return $dll($tc.dll, OS, $1) }
; $tc.cpu(name|vendor|cores|threads|speed|usage) -> e.g. the processor's name, GenuineIntel, 8, 16,
;   2904MHz, 12%
alias tc.cpu { return $dll($tc.dll, CPU, $1) }
; $tc.gpu -> the graphics card (of several, the one with the most video memory); $tc.gpu(memory) ->
;   its own video memory, e.g. 8192MB
alias tc.gpu { return $dll($tc.dll, GPU, $1) }
; $tc.audio(output|input|card|count|N) -> the sound devices: the default playback and recording
;   devices, the sound card, how many playback devices are active, the Nth of them
alias tc.audio { return $dll($tc.dll, Audio, $1) }
; $tc.board(board|system|bios) -> the firmware's names: the motherboard, the computer's maker
;   and model, the BIOS; false where the firmware gives none
alias tc.board { return $dll($tc.dll, Board, $1) }
; $tc.battery(level|power|charging) -> e.g. 76% (none: no battery), ac or battery, true/false
alias tc.battery { return $dll($tc.dll, Battery, $1) }
; $tc.net(name|description|speed|received|sent|down|up) -> the adapter in use: e.g. Wi-Fi, its
;   card, 866.7Mbps, bytes received and sent since it started, bytes per second down and up;
;   false when no adapter is in use
alias tc.net { return $dll($tc.dll, Network, $1) }
; /tc.bw -> echoes how fast the adapter in use receives and sends now (the first call waits a quarter second)
alias tc.bw {
  var %down = $tc.net(down), %up = $tc.net(up)
  if (%down == false) { echo -a No network adapter in use | return }
  echo -a Down: $bytes(%down,3).suf $+ /s - Up: $bytes(%up,3).suf $+ /s
}
; $tc.known(ANSWER) -> the answer, or nothing where the command answered false or error
alias -l tc.known { if ($1- != false) && ($1- != error) return $1- }
; /tc.sysinfo -> says one line about this computer in the active channel or query; each part
;   that Windows does not give (no release on Windows 8.1, no usage, no GPU, no refresh rate, no
;   board, no sound card, no battery, no network adapter in use) is left out; a laptop (one with a battery)
;   shows its model rather than its board
alias tc.sysinfo {
  ; one answer of free text per var: a comma in it would split the line
  var %os = $tc.known($tc.os(name)) $tc.known($tc.os(release))
  var %bits = $tc.known($tc.os(bits)), %cores = $tc.known($tc.cpu(cores))
  var %threads = $tc.known($tc.cpu(threads)), %usage = $tc.known($tc.cpu(usage))
  var %cpu = $tc.known($tc.cpu(name))
  if (%bits != $null) %os = %os %bits $+ -bit
  if (%cores != $null) %cpu = %cpu ( $+ %cores cores $+ $iif(%threads != $null, $chr(32) $+ %threads threads) $+ )
  if (%usage != $null) %cpu = %cpu at %usage
  var %line = OS: %os, %used = $tc.known($tc.memory(used))
  var %total = $tc.known($tc.memory(total))
  if (%cpu != $null) %line = %line - CPU: %cpu
  if (%total != $null) %line = %line - Memory: $iif(%used != $null, %used of) $round($calc($remove(%total,KB) / 1048576),1) GB
  var %screen = $tc.known($tc.screen(resolution)), %battery = $tc.known($tc.battery(level))
  var %gpu = $tc.known($tc.gpu)
  var %hz = $tc.known($tc.screen(hz))
  var %board = $tc.known($tc.board($iif(%battery != $null && %battery != none, system, board)))
  if (%screen != $null) %line = %line - Screen: %screen $+ $iif(%hz != $null, $chr(32) $+ @ %hz $+ Hz)
  var %vram = $tc.known($tc.gpu(memory))
  if (%gpu != $null) %line = %line - GPU: %gpu $+ $iif(%vram != $null, $chr(32) $+ ( $+ %vram $+ ))
  var %sound = $tc.known($tc.audio(card))
  if (%sound != $null) %line = %line - Sound: %sound
  if (%board != $null) %line = %line - $iif(%battery != $null && %battery != none, Model, Board) $+ : %board
  if (%battery != $null) && (%battery != none) %line = %line - Battery: %battery
  var %net = $tc.known($tc.net(name)), %card = $tc.known($tc.net(description))
  var %speed = $tc.known($tc.net(speed)), %in = $tc.known($tc.net(received))
  var %out = $tc.known($tc.net(sent))
  if (%card != $null) %net = %net $+ $chr(44) %card
  if (%speed != $null) %net = %net $+ $chr(44) %speed
  if (%in != $null) %net = %net $+ $chr(44) $bytes(%in,3).suf in $+ $chr(44) $bytes(%out,3).suf out
  if (%net != $null) %line = %line - Net: %net
  say %line
}

; ---- Watches: the DLL tells this script when something happens ----
; /tc.watch NAME idle SECONDS | NAME window PATTERN | NAME process EXE-NAME | NAME media | NAME front
;   | NAME presence -> true/false/error
;   e.g. /tc.watch game process game.exe. From mIRC's own thread only ($dll, not $dllcall).
alias tc.watch {
  if ($2 == $null) { echo -a usage: /tc.watch NAME idle SECONDS, NAME window PATTERN, NAME process EXE-NAME, NAME media, NAME front or NAME presence | return }
  echo -a $dll($tc.dll, Watch, $1 $+ ; $+ $2-)
}
; /tc.unwatch [NAME] -> stops that watch, or every one without a name
alias tc.unwatch { echo -a $dll($tc.dll, WatchStop, $1) }
; The DLL raises this event when it has queued events; read them all, one line each.
; Each line is safe in a variable and in tokenize, never in /timer, /scon, /scid, $eval(,2)
; or a // command: window titles in it are chosen by anyone.
on *:signal:toolcase:{
  var %event = $dll($tc.dll, WatchNext, )
  while (%event != $null) {
    tc.event %event
    var %event = $dll($tc.dll, WatchNext, )
  }
}
; One event line: NAME idle|back|open|close|start|end|status|track|front|presence ..., or * lost N. Change it to your liking.
alias tc.event {
  if ($1 == tc-away) && ($2 == idle) && (!$away) { away Away from the computer }
  elseif ($1 == tc-away) && ($2 == back) && ($away) { away }
  elseif ($1 == tc-here) && ($3 == locked) && (!$away) { set -e %tc.here.away 1 | away Locked }
  elseif ($1 == tc-here) && ($3 == here) && (%tc.here.away) { unset %tc.here.away | if ($away) away }
  elseif ($1 == tc-np) && ($2 == status) { set -e %tc.np.status $3 }
  elseif ($1 == tc-np) && ($2 == track) && (%tc.np.status == playing) && ($calc($ctime - %tc.np.said) >= 10) {
    set -e %tc.np.said $ctime
    tc.np.say np: $3-
  }
  elseif ($2 == start) { echo -s toolcase: $1- $dll($tc.dll, Process, path;pid: $+ $3) }
  elseif (!$istok(tc-away tc-here tc-np, $1, 32)) { echo -s toolcase: $1- }
}

; ---- Media: what plays ----
; $tc.np -> artist - title (or the title alone) of what plays or is paused; false when nothing does
;   $tc.np(title), $tc.np(artist), $tc.np(album), $tc.np(player), $tc.np(status)
; /tc.np -> says np: artist - title in the active channel or query, or echoes that nothing plays
alias tc.np {
  if ($isid) return $dll($tc.dll, Media, $1)
  var %np = $dll($tc.dll, Media, )
  if (%np == false) { echo -a Nothing plays (the first call after a pause may miss it: try again) | return }
  tc.np.say np: %np
}
alias -l tc.np.say {
  if ($active ischan) || ($query($active)) say $1-
  else echo -a $1-
}
; /tc.media toggle|next|previous|stop -> presses that media key: true when Windows queued it
alias tc.media {
  if (!$istok(toggle next previous stop, $1, 32)) { echo -a usage: /tc.media toggle, next, previous or stop | return }
  echo -a $dll($tc.dll, Media, $1)
}
; /tc.autonp on|off -> a media watch announces each new track that plays in the active
;   channel or query, at most one line in 10 seconds (see tc.event above)
alias tc.autonp {
  if ($1 == off) { echo -a $dll($tc.dll, WatchStop, tc-np) | return }
  if ($1 != on) { echo -a usage: /tc.autonp on, or /tc.autonp off | return }
  unset %tc.np.status %tc.np.said
  echo -a $dll($tc.dll, Watch, tc-np;media)
}

; ---- Notification ----
; $tc.askwait(BUTTONS;ICON;CAPTION;MESSAGE) -> ok, cancel, abort, retry, ignore, yes, no or error
;   BUTTONS: ok, yesno, yesnocancel, abortretryignore   ICON: information, warning, error, question
;   (mIRC waits until the box is closed: only $dll returns the button)
alias tc.askwait { return $dll($tc.dll, MessageDialog, $1-) }
; /tc.ask BUTTONS;ICON;CAPTION;MESSAGE -> shows the box and echoes the button (mIRC waits)
;   e.g. /tc.ask yesno;question;Confirm;Delete the log?
alias tc.ask { echo -a $tc.askwait($1-) }
; /tc.tell ICON;CAPTION;MESSAGE -> a box with only OK, without blocking mIRC
;   e.g. /tc.tell information;Backup;The log is saved.
alias tc.tell { noop $dllcall($tc.dll, tc.called, MessageDialog, ok; $+ $1-) }
; /tc.beep information|warning|error|default -> true/false/error; silent while a game, a
;   presentation or another full-screen program is in front
alias tc.beep {
  if ($istok(game presenting fullscreen, $tc.presence, 32)) return
  echo -a $dll($tc.dll, Beep, $1)
}

; ---- Demo: only harmless commands ----
alias tc.demo {
  echo -a Library: $tc.info
  echo -a Computer: $tc.computer $+ , user: $tc.user
  echo -a Screen: $tc.screen(resolution) $+ , memory in use: $tc.memory(used)
  echo -a Idle: $tc.idle seconds
  echo -a Temp folder: $tc.dir(fulltemp)
  echo -a mIRC is running: $tc.running(mirc.exe)
  tc.beep information
}
