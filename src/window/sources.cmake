# Window commands: find a top-level window by class or title and act on it.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/caption_change.cpp
  ${CMAKE_CURRENT_LIST_DIR}/placement_text.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/window_target.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dwm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/per_monitor_awareness.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_find.cpp
  ${CMAKE_CURRENT_LIST_DIR}/caption_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/foreground_command.cpp)
