# The layers of src/, each folder with the folders it may include from; a
# folder may always include its own headers. Lower layers never include
# higher ones, so the graph has no circle. Run as a build step:
#   cmake -DSOURCE_DIR=<src> -P cmake/CheckLayers.cmake
#
#   app            window, start-up
#   utstatus       command line
#   statusservice  web pages        fakeservers  fake game servers
#   watch          news of watched servers
#   querytabs  ping  platform  http  gamequery  game protocols
#   favourites
#   core           the games as data
cmake_minimum_required(VERSION 3.25)
set(allowed_core "")
set(allowed_favourites core)
set(allowed_gamequery core)
set(allowed_http "")
set(allowed_platform core favourites)
set(allowed_ping core favourites platform)
set(allowed_querytabs core favourites)
set(allowed_fakeservers core gamequery)
set(allowed_watch core gamequery)
set(allowed_statusservice core favourites gamequery http ping platform watch)
set(allowed_utstatus core favourites gamequery fakeservers platform statusservice watch)
set(allowed_app core favourites gamequery ping platform querytabs statusservice watch)

set(violations "")
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" folder "${source}")
  if(NOT DEFINED allowed_${folder})
    list(APPEND violations "${source}: the folder ${folder} has no layer")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^#include \"[a-z]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([a-z]+)/.*" "\\1" target "${line}")
    if(NOT target STREQUAL folder AND NOT target IN_LIST allowed_${folder})
      list(APPEND violations "${source}: ${line} reaches from ${folder} up or across to ${target}")
    endif()
  endforeach()
endforeach()
if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes across the layers:\n  ${text}")
endif()
