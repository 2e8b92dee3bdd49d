# cmake -DRULES=<include_rules.cmake> -DSCRATCH=<folder> -P include_rules_test.cmake: builds a
# small tree in SCRATCH with one include per file, runs the include check on it and fails unless
# it names exactly the forbidden includes, each with its rule, whatever the spelling.
cmake_minimum_required(VERSION 3.25)
if(NOT RULES OR NOT SCRATCH)
  message(FATAL_ERROR "RULES and SCRATCH must be set")
endif()

# folder | include | the rule it breaks ("" when allowed)
set(cases
  "log|\"chart/B.h\"|log/ includes chart/"
  "log|\"../chart/B.h\"|log/ includes chart/"
  "log|<chart/B.h>|log/ includes chart/"
  "log|\"./../chart/B.h\"|log/ includes chart/"
  "log|\"../log/../chart/B.h\"|log/ includes chart/"
  "log|<app/Progress.h>|log/ includes app/"
  "log|\"../app/Progress.h\"|log/ includes app/"
  "log|\"../app/Qelunit.h\"|"
  "log|<app/Qelunit.h>|"
  "log|\"L.h\"|"
  "log|<Paths.h>|"
  "log|<sys/stat.h>|"
  "log|<vector>|"
  "log|\"../../outside.h\"|names no file of the tree"
  "chart|\"../log/L.h\"|"
  "texts|\"../log/L.h\"|texts/ includes more than platform/"
  "texts|<log/L.h>|texts/ includes more than platform/"
  "platform/core|\"../../chart/B.h\"|program code in platform/"
  "platform/core|<Edit.h>|platform/core includes the Qt half of the layer"
  "platform/core|\"../gui/Edit.h\"|platform/core includes the Qt half of the layer"
  "app|<QWidget>|Qt header outside platform/gui")

file(REMOVE_RECURSE ${SCRATCH})
foreach(header chart/B.h app/Qelunit.h app/Progress.h log/L.h platform/core/Paths.h platform/gui/Edit.h)
  file(WRITE ${SCRATCH}/${header} "#pragma once\n")
endforeach()
file(MAKE_DIRECTORY ${SCRATCH}/texts ${SCRATCH}/settings)
set(index 0)
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(GET parts 1 include)
  file(WRITE ${SCRATCH}/${folder}/Case${index}.cpp "#include ${include}\n")
  math(EXPR index "${index} + 1")
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SCRATCH} -P ${RULES}
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
# The report wraps long lines; the check compares it without line breaks.
string(REGEX REPLACE "[ \n]+" " " output "${output}")

set(failures "")
set(index 0)
foreach(entry IN LISTS cases)
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 folder)
  list(GET parts 1 include)
  list(LENGTH parts count)
  set(rule "")
  if(count GREATER 2)
    list(GET parts 2 rule)
  endif()
  set(line "${folder}/Case${index}.cpp: #include ${include}:")
  string(FIND "${output}" "${line}" at)
  if(rule)
    string(FIND "${output}" "${line} ${rule}" at_rule)
    if(at_rule EQUAL -1)
      list(APPEND failures "not caught as \"${rule}\": ${folder}: #include ${include}")
    endif()
  elseif(NOT at EQUAL -1)
    list(APPEND failures "caught, though allowed: ${folder}: #include ${include}")
  endif()
  math(EXPR index "${index} + 1")
endforeach()
if(result EQUAL 0)
  list(APPEND failures "the check passed a tree with forbidden includes")
endif()

if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "${text}\n--- the check said:\n${output}")
endif()
message(STATUS "Every spelling of a forbidden include caught.")
