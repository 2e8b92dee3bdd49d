# embed_resources(<target> <folder> [<file>...]): a static library holding every file of
# <folder>, and each further <file> (one made by the build, say), as a named resource of type
# "RT_RCDATA"; the name is the file name without its extension.
set(DRAVOLIN_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedResourcesScript.cmake)

function(embed_resources target folder)
  file(GLOB files CONFIGURE_DEPENDS ${folder}/*)
  list(FILTER files EXCLUDE REGEX "/(README[^/]*|\\.[^/]*)$")
  list(APPEND files ${ARGN})
  list(SORT files)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.cpp)
  string(REPLACE ";" "|" joined "${files}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} "-DOUT=${out}" "-DFILES=${joined}" -P ${DRAVOLIN_EMBED_SCRIPT}
    DEPENDS ${files} ${DRAVOLIN_EMBED_SCRIPT}
    COMMENT "Embedding resources of ${folder}"
    VERBATIM)
  add_library(${target} STATIC ${out})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/platform/core)
endfunction()
