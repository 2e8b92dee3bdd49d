# cmake -DSOURCE_DIR=<tree> -P include_rules.cmake: fails, naming file, include and rule, when a
# file of platform/ or of the program folders includes what its layer must not:
#   platform/core: no Qt, nothing of platform/gui, no program code;
#   platform/gui: no program code;
#   texts/ log/ chart/ settings/ app/: no Qt header;
#   log/: nothing of chart/, of app/ only app/Qelunit.h;
#   texts/: only platform/ (and its own folder).
# Every program folder defines members of the central object, so app/Qelunit.h is allowed
# everywhere in the program. Only direct includes count: a header is checked in its own folder.
# A name is taken as the compiler finds it: "../chart/X.h" from log/ is chart/X.h, and
# <chart/X.h> or <Paths.h> name the tree's files as the quoted forms do (other <...> names are
# the system's).
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR not set")
endif()

set(program_folders texts log chart settings app)
set(tree_folders platform/core platform/gui ${program_folders})
set(violations "")

# The folder an include of the tree comes from, and the name from the tree's root when it has a
# folder part: the first part of a path with "/" (after "." and ".." are resolved against the
# including file's folder), else the folder of the including file, platform/core or
# platform/gui, where the name exists; "unknown" when none has it.
function(include_folder name own_folder out out_name)
  if(name MATCHES "(^|/)\\.\\.?/")
    cmake_path(SET name NORMALIZE "${own_folder}/${name}")
  endif()
  set(${out_name} ${name} PARENT_SCOPE)
  if(name MATCHES "^\\.\\./")
    set(folder unknown)
  elseif(name MATCHES "^([a-z]+)/")
    set(folder ${CMAKE_MATCH_1})
    if(folder STREQUAL "platform" AND name MATCHES "^platform/(core|gui)/")
      set(folder "platform/${CMAKE_MATCH_1}")
    endif()
  elseif(EXISTS ${SOURCE_DIR}/${own_folder}/${name})
    set(folder ${own_folder})
  elseif(EXISTS ${SOURCE_DIR}/platform/core/${name})
    set(folder platform/core)
  elseif(EXISTS ${SOURCE_DIR}/platform/gui/${name})
    set(folder platform/gui)
  else()
    set(folder unknown)
  endif()
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

foreach(folder platform/core platform/gui ${program_folders})
  file(GLOB files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file IN LISTS files)
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
        continue()
      endif()
      set(quote ${CMAKE_MATCH_1})
      set(name ${CMAKE_MATCH_2})
      set(rule "")
      set(from "")
      if(quote STREQUAL "<")
        if(name MATCHES "^(Qt[A-Za-z]*/)?Q[A-Za-z0-9]*$" OR name MATCHES "^Qt[A-Za-z]*/" OR name MATCHES "^q[a-z0-9_]+\\.h$")
          if(NOT folder STREQUAL "platform/gui")
            set(rule "Qt header outside platform/gui")
          endif()
        else()
          # The tree's folders are on the include path: <chart/X.h> is chart/X.h.
          include_folder(${name} ${folder} from name)
          if(NOT from IN_LIST tree_folders)
            set(from "")
          endif()
        endif()
      else()
        include_folder(${name} ${folder} from name)
      endif()
      if(from)
        if(from STREQUAL "unknown")
          set(rule "names no file of the tree")
        elseif(folder MATCHES "^platform/" AND from IN_LIST program_folders)
          set(rule "program code in platform/")
        elseif(folder STREQUAL "platform/core" AND from STREQUAL "platform/gui")
          set(rule "platform/core includes the Qt half of the layer")
        elseif(folder STREQUAL "log" AND from STREQUAL "chart")
          set(rule "log/ includes chart/")
        elseif(folder STREQUAL "log" AND from STREQUAL "app" AND NOT name STREQUAL "app/Qelunit.h")
          set(rule "log/ includes app/")
        elseif(folder STREQUAL "texts" AND NOT from MATCHES "^(platform/|texts$)" AND NOT name STREQUAL "app/Qelunit.h")
          set(rule "texts/ includes more than platform/")
        endif()
      endif()
      if(rule)
        list(APPEND violations "${file}: ${line}: ${rule}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  list(LENGTH violations count)
  list(JOIN violations "\n" text)
  message(FATAL_ERROR "${count} forbidden include(s):\n${text}")
endif()
message(STATUS "Include rules kept.")
