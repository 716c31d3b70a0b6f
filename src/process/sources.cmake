# Process commands: is a program running, end every process of a name or
# one by its id, what Windows tells of a process.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/process_names.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/load_time_locale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolhelp.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_query.cpp)
