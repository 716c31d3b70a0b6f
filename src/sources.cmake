# Every subsystem lists its own sources: pure logic (no Windows headers, also
# built natively for unit tests and fuzzing) apart from the Win32 glue.
set(TOOLCASE_PURE_SOURCES)
set(TOOLCASE_WIN32_SOURCES)
foreach(subsystem host window process shell sysinfo notify display watch media presence network)
  include(${CMAKE_CURRENT_LIST_DIR}/${subsystem}/sources.cmake)
endforeach()
