# Process commands: is a program running, end every process of a name.
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/process_commands.cpp)
