# Process commands: is a program running, end every process of a name.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/process_names.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/load_time_locale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolhelp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_commands.cpp)
