# Window commands: find a top-level window by class or title and act on it.
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/window_commands.cpp)
