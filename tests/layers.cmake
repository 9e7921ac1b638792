# Fails when a source or test file includes a header of a layer that its own layer
# may not use. Run as: cmake -DSOURCE_DIR=<tree> [-DDECLARATIONS=<file>] -P layers.cmake
# (the build runs it before compiling, and CTest as the test "layers").
#
# Each folder of src/ (and its mirror under tests/) may include headers of the folders
# declared for it, itself included; the top folder python/ is the layer "python". A new folder must be declared here, once. Every
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
  # The Python module, a folder at the top of the tree; its tests in tests/python.
  corvane_layer(python    platform setup mnemonics ascii las lasfile plotmodel cli)
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
    elseif(inside MATCHES "^python/")
      set(layer python)
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

# The folders to check, relative to the tree: those of src/ and tests/, and python/.
set(places "")
foreach(root src tests)
  file(GLOB folders RELATIVE ${SOURCE_DIR}/${root} ${SOURCE_DIR}/${root}/*)
  foreach(folder ${folders})
    if(IS_DIRECTORY ${SOURCE_DIR}/${root}/${folder} AND NOT folder STREQUAL "support" AND NOT folder STREQUAL "data")
      list(APPEND places ${root}/${folder})
    endif()
  endforeach()
endforeach()
if(IS_DIRECTORY ${SOURCE_DIR}/python)
  list(APPEND places python)
endif()

foreach(place ${places})
  get_filename_component(folder ${place} NAME)
  if(NOT DEFINED ALLOWED_${folder})
    string(APPEND failures "${place}: a folder that tests/layers.cmake does not know\n")
    continue()
  endif()
  file(GLOB_RECURSE sources ${SOURCE_DIR}/${place}/*.h ${SOURCE_DIR}/${place}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"][^>\"]+[>\"]")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"].*" "\\1;\\2" fields "${line}")
      list(GET fields 0 bracket)
      list(GET fields 1 include)
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

if(failures)
  message(FATAL_ERROR "Layer violations:\n${failures}")
endif()
message(STATUS "layers: every include stays within its layer's reach")
