# Network: the adapter in use, its speed and its traffic.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/network_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/network_reading.cpp
  ${CMAKE_CURRENT_LIST_DIR}/network_command.cpp)
