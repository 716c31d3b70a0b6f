# Media: what the player plays, and the media keys.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/media_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/media_reader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_sessions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/media_command.cpp)
