# Shared build helpers: warning flags, sanitizers and the per-module core libraries.

set(ZEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)

# Our own warning policy; third-party headers come in as system includes.
function(zel_warnings target)
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "INTERFACE_LIBRARY")
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ZEL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

if(ZEL_SANITIZE)
  add_compile_options(${ZEL_SANITIZER_FLAGS})
  add_link_options(${ZEL_SANITIZER_FLAGS})
endif()

# zel_core_module(<name> [DEPS <lib>...])
# One static library per core module, built from every .cpp in src/core/<name>/.
# A module without sources yet is an interface library, so dependents still link.
function(zel_core_module name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  set(_target zel_${name})
  if(_sources)
    add_library(${_target} STATIC ${_sources})
    target_include_directories(${_target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${_target} PUBLIC ${ARG_DEPS})
    zel_warnings(${_target})
  else()
    add_library(${_target} INTERFACE)
    target_include_directories(${_target} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${_target} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
