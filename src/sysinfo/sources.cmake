# Machine facts, folders and long paths.
list(APPEND TOOLCASE_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/real_number_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/machine_facts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/smbios_rules.cpp)
list(APPEND TOOLCASE_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/machine_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/memory_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/folder_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/registry_values.cpp
  ${CMAKE_CURRENT_LIST_DIR}/windows_version.cpp
  ${CMAKE_CURRENT_LIST_DIR}/os_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cpu_command.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hardware_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/audio_command.cpp)
