# The program itself: everything but its entry point, as an object library so that the
# simulator, the tests and Tellbud.exe all link the same objects.
tellbud_glob_sources(TELLBUD_PROGRAM_SOURCES app config phone messenger monitor ui dialogs trace)
list(FILTER TELLBUD_PROGRAM_SOURCES EXCLUDE REGEX "/app/main\\.cpp$")
if(TELLBUD_PROGRAM_SOURCES)
  add_library(tellbud_program OBJECT ${TELLBUD_PROGRAM_SOURCES})
  target_include_directories(tellbud_program PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(tellbud_program PUBLIC framework tellbud_resources)
endif()
