# Presence: whether the user is there (locked, screen saver, full screen).
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/presence_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/presence_reading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/presence_command.cpp)
