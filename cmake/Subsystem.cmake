# ss_subsystem(TARGET FOLDER [EXCLUDE file ...])
# A static library of every .cpp in FOLDER (not recursive). Sources are picked
# up by glob so a new file in a subsystem needs no build edit.
function(ss_subsystem target folder)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${folder}/${excluded})
  endforeach()
  if(NOT sources)
    set(sources ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# ss_tool(NAME SOURCES...) builds a tool into bin/ beside the game.
function(ss_tool name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE ss_engine)
endfunction()
