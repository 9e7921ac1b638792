# Fails when a source or test file includes a header of a layer that its own layer
# may not use. Run as: cmake -DSOURCE_DIR=<tree> [-DDECLARATIONS=<file>] -P layers.cmake
# (the build runs it before compiling, and CTest as the test "layers").
#
# Each folder of src/ (and its mirror under tests/) may include headers of the folders
# declared for it, itself included. A new folder must be declared here, once. Every
# form of include counts: "las/X.h", <las/X.h>, and a relative "../las/X.h", which is
# taken where the compiler finds it (from the including file's folder).
# DECLARATIONS replaces the declarations below by those of another file (for the test
# of this script).

cmake_minimum_required(VERSION 3.25)

set(failures "")
set(LAYERS "")
set(declared_in "tests/layers.cmake")

macro(corvane_layer name)
  if(DEFINED ALLOWED_${name})
    string(APPEND failures "${declared_in}: the folder ${name} is declared twice\n")
  endif()
  set(ALLOWED_${name} ${name} ${ARGN})
  list(APPEND LAYERS ${name})
endmacro()

if(DECLARATIONS)
  set(declared_in "${DECLARATIONS}")
  include(${DECLARATIONS})
else()
  corvane_layer(platform)
  corvane_layer(mnemonics platform)
  corvane_layer(setup     platform)
  corvane_layer(ascii     platform setup mnemonics)
  corvane_layer(las       platform setup mnemonics ascii)
  corvane_layer(lasfile   platform)
  corvane_layer(cli       platform setup mnemonics ascii las lasfile plotmodel plot)
  corvane_layer(plotmodel platform lasfile mnemonics)
  corvane_layer(plot      platform lasfile mnemonics plotmodel)
  corvane_layer(wizard    platform setup mnemonics ascii las lasfile)
  corvane_layer(lasview   platform setup mnemonics ascii las lasfile plotmodel plot wizard)
  corvane_layer(app       platform setup mnemonics ascii las lasfile plotmodel plot wizard lasview)
  corvane_layer(fuzz      platform setup mnemonics ascii las lasfile plotmodel)
endif()

# The layer an include names: for a quoted include that the including file's folder
# holds, the folder of src/ or tests/ it lies in; otherwise its first path part.
function(layer_of_include source include quoted out)
  get_filename_component(here ${source} DIRECTORY)
  set(layer "")
  if(quoted AND EXISTS ${here}/${include})
    get_filename_component(resolved ${here}/${include} ABSOLUTE)
    file(RELATIVE_PATH inside ${SOURCE_DIR} ${resolved})
    if(inside MATCHES "^(src|tests)/([^/]+)/")
      set(layer ${CMAKE_MATCH_2})
    endif()
    # A header beside the including file belongs to its own folder.
    if(NOT include MATCHES "^\\.\\./" AND NOT include MATCHES "/\\.\\./")
      set(layer "")
    endif()
  elseif(include MATCHES "^([A-Za-z0-9_]+)/")
    set(layer ${CMAKE_MATCH_1})
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

foreach(root src tests)
  file(GLOB folders RELATIVE ${SOURCE_DIR}/${root} ${SOURCE_DIR}/${root}/*)
  foreach(folder ${folders})
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${root}/${folder} OR folder STREQUAL "support" OR folder STREQUAL "data")
      continue()
    endif()
    if(NOT DEFINED ALLOWED_${folder})
      string(APPEND failures "${root}/${folder}: a folder that tests/layers.cmake does not know\n")
      continue()
    endif()
    file(GLOB_RECURSE sources ${SOURCE_DIR}/${root}/${folder}/*.h ${SOURCE_DIR}/${root}/${folder}/*.cpp)
    foreach(source ${sources})
      file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
      foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"].*" "\\1;\\2" parts "${line}")
        list(GET parts 0 bracket)
        list(GET parts 1 include)
        set(quoted FALSE)
        if(bracket STREQUAL "\"")
          set(quoted TRUE)
        endif()
        layer_of_include(${source} "${include}" ${quoted} layer)
        if(layer STREQUAL "" OR NOT layer IN_LIST LAYERS)
          continue()
        endif()
        if(NOT layer IN_LIST ALLOWED_${folder})
          file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
          string(APPEND failures "${shown}: includes ${layer}/, above the ${folder} layer: ${line}\n")
        endif()
      endforeach()
    endforeach()
  endforeach()
endforeach()

if(failures)
  message(FATAL_ERROR "Layer violations:\n${failures}")
endif()
message(STATUS "layers: every include stays within its layer's reach")
