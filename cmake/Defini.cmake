# The built-in default settings "defini": made at build time by make_defini, which runs the
# program's own first-start defaults through its own settings writer, so the resource always
# matches the code and is never kept in the source tree. make_defini itself links only the
# resources of the source folder (dravolin_source_resources); the program and its tests link
# dravolin_resources, which holds those and the generated file.
file(GLOB stray_defini ${CMAKE_SOURCE_DIR}/resources/defini.*)
if(stray_defini)
  message(FATAL_ERROR "resources/ must not hold a defini file: the build makes it (${stray_defini})")
endif()

add_executable(make_defini ${CMAKE_SOURCE_DIR}/tools/make_defini.cpp)
target_link_libraries(make_defini PRIVATE dravolin_lib platform_core dravolin_source_resources)

set(DRAVOLIN_DEFINI ${CMAKE_BINARY_DIR}/generated/defini.bin)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
# Leak checks are off for this run only: the windowing library's font setup leaks a block in
# sanitizer builds, which must not fail the build.
add_custom_command(OUTPUT ${DRAVOLIN_DEFINI}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:make_defini> ${DRAVOLIN_DEFINI}
  DEPENDS make_defini
  COMMENT "Writing the default settings defini"
  VERBATIM)

embed_resources(dravolin_resources ${CMAKE_SOURCE_DIR}/resources ${DRAVOLIN_DEFINI})
