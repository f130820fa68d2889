# utq_public_headers(TARGET FOLDER HEADER...): the library shows its users the
# headers named as "FOLDER/HEADER.h" under an include root of its own; the
# rest of src/ stays out of sight, so an include of a library not linked fails
# to compile. A header named that includes a header of its folder which
# neither this library nor one declared before it in the folder names stops
# the build: what a library shows is exactly its list.
function(utq_public_headers target folder)
  set(root ${CMAKE_CURRENT_BINARY_DIR}/public/${target})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root}/${folder})
  get_property(declared GLOBAL PROPERTY utq_public_${folder})
  list(APPEND declared ${ARGN})
  set_property(GLOBAL PROPERTY utq_public_${folder} ${declared})
  set(pending ${ARGN})
  set(shown "")
  while(pending)
    list(POP_FRONT pending header)
    set(path ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/${header})
    if(header IN_LIST shown OR NOT EXISTS ${path})
      continue() # a header found on another include root, such as the build's generated ones
    endif()
    if(NOT header IN_LIST declared)
      message(FATAL_ERROR "${target} shows ${folder}/${header}, which no public-header list of ${folder} names")
    endif()
    list(APPEND shown ${header})
    file(CREATE_LINK ${path} ${root}/${folder}/${header} SYMBOLIC)
    file(STRINGS ${path} siblings REGEX "^#include \"[a-z0-9_]+\\.h\"")
    foreach(line IN LISTS siblings)
      string(REGEX REPLACE "^#include \"([a-z0-9_]+\\.h)\".*" "\\1" sibling "${line}")
      list(APPEND pending ${sibling})
    endforeach()
  endwhile()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
