# The compiler keeps every library to its layer: a library's include folder (in the
# build tree) holds nothing but a link to the library's own source folder, and it is
# passed on (PUBLIC) to whoever links the library. So a file sees "las/..." only when
# its library links corvane_las, directly or through the layers above it; the source
# tree itself is on no include path. tests/layers.cmake says which layer links which.
#
# The folder is <build>/src/<folder>/include, so that tools that tell the tree's own
# headers by a "/src/" in their path (clang-tidy's header filter) still do.
#
#   corvane_include_root(<target> <folder>)   <folder>: the folder under src/
function(corvane_include_root target folder)
  set(root ${PROJECT_BINARY_DIR}/src/${folder}/include)
  file(MAKE_DIRECTORY ${root})
  if(NOT IS_SYMLINK ${root}/${folder})
    file(REMOVE_RECURSE ${root}/${folder})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
