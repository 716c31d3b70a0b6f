# The call frame, text rules, module strings and the information command.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/utf8.cpp
  ${CMAKE_CURRENT_LIST_DIR}/frame.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module_strings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/late_bound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_folder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wide_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dllinfo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/stack_guard.cpp)
