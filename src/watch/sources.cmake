# Watches: the library tells a script when something happens.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/watch_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/doorbell.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/watch_commands.cpp)
