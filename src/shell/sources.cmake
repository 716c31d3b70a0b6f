# Shell commands: screen saver, Start button, desktop icons.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/shell_requests.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/screen_saver.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_commands.cpp)
