# Watches: the library tells a script when something happens.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/watch_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/doorbell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_idle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_media.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_front.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_presence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_commands.cpp)
