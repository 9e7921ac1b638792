# The layer check on a small tree written here: a clean tree passes, and each kind of
# wrong include (angle brackets, a relative path, a plain include of a higher layer, in
# a source or a test), an unknown folder and a folder declared twice fail it.
# Run as: cmake -DLAYERS_SCRIPT=<tests/layers.cmake> -DWORK_DIR=<scratch folder> -P layers_test.cmake
cmake_minimum_required(VERSION 3.25)

set(tree ${WORK_DIR}/layers-tree)

function(write_tree)
  file(REMOVE_RECURSE ${tree})
  file(WRITE ${tree}/src/platform/File.h "#pragma once\n")
  file(WRITE ${tree}/src/setup/Setup.h "#pragma once\n#include \"platform/File.h\"\n")
  file(WRITE ${tree}/src/las/Writer.h "#pragma once\n#include <platform/File.h>\n#include \"../setup/Setup.h\"\n")
  file(WRITE ${tree}/src/lasfile/Reader.cpp
       "#include \"lasfile/Reader.h\"\n#include \"Reader.h\"\n#include <QtCore/QString>\n#include <CLI/CLI.hpp>\n"
       "#include <sys/stat.h>\n  #  include \"platform/File.h\"\n")
  file(WRITE ${tree}/src/lasfile/Reader.h "#pragma once\n")
  file(WRITE ${tree}/src/cli/Command.cpp "#include \"las/Writer.h\"\n#include \"lasfile/Reader.h\"\n")
  file(WRITE ${tree}/tests/las/WriterTest.cpp "#include \"las/Writer.h\"\n#include \"TestSupport.h\"\n")
  file(WRITE ${tree}/tests/support/TestSupport.h "#include \"cli/Command.h\"\n")
endfunction()

# Runs the check; `expected` is empty for a pass, else a text the failure must hold.
function(expect_check case expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} ${ARGN} -P ${LAYERS_SCRIPT}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected STREQUAL "")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${case}: the check failed a clean tree:\n${err}")
    endif()
    return()
  endif()
  if(status EQUAL 0)
    message(FATAL_ERROR "${case}: the check passed")
  endif()
  # CMake wraps the lines of an error message: blanks and line ends count alike.
  string(REGEX REPLACE "[ \t\r\n]+" " " said "${err}")
  string(REGEX REPLACE "[ \t\r\n]+" " " expected "${expected}")
  string(FIND "${said}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${case}: the failure does not say \"${expected}\":\n${err}")
  endif()
endfunction()

write_tree()
expect_check("clean tree" "")

set(cases
    "angle|src/lasfile/Bad.cpp|#include <las/Writer.h>|src/lasfile/Bad.cpp: includes las/, above the lasfile layer"
    "relative|src/lasfile/Bad.cpp|#include \"../las/Writer.h\"|src/lasfile/Bad.cpp: includes las/, above the lasfile layer"
    "relative, deeper|src/lasfile/Bad.h|#include \"../../src/cli/Command.cpp\"|src/lasfile/Bad.h: includes cli/, above the lasfile layer"
    "upward|src/las/Bad.h|#include \"lasfile/Reader.h\"|src/las/Bad.h: includes lasfile/, above the las layer"
    "upward in a test|tests/las/BadTest.cpp|  # include \"cli/Command.h\"|tests/las/BadTest.cpp: includes cli/, above the las layer"
    "relative in a test|tests/las/BadTest.cpp|#include \"../../src/lasfile/Reader.h\"|tests/las/BadTest.cpp: includes lasfile/, above the las layer"
    "unknown folder|src/newlayer/New.h|#pragma once|src/newlayer: a folder that tests/layers.cmake does not know")
foreach(entry ${cases})
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 case)
  list(GET fields 1 file)
  list(GET fields 2 line)
  list(GET fields 3 expected)
  write_tree()
  file(WRITE ${tree}/${file} "${line}\n")
  expect_check("${case}" "${expected}")
endforeach()

write_tree()
file(WRITE ${tree}/declarations.cmake
     "corvane_layer(platform)\ncorvane_layer(setup platform)\ncorvane_layer(las platform setup)\n"
     "corvane_layer(lasfile platform)\ncorvane_layer(cli platform setup las lasfile)\n"
     "corvane_layer(las platform setup lasfile)\n")
expect_check("declared twice" "declarations.cmake: the folder las is declared twice"
             -DDECLARATIONS=${tree}/declarations.cmake)

file(REMOVE_RECURSE ${tree})
message(STATUS "layers_test: the check catches every kind of wrong include")
