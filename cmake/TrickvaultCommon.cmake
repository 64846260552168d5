# Flags shared by every target, and the rule that keeps the pure libraries free of Qt.

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

include(GNUInstallDirs)
# What an installation ships beside the program, below the prefix.
set(TKV_DATA_INSTALL_DIR "${CMAKE_INSTALL_DATADIR}/trickvault")

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
  set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "Build type" FORCE)
endif()

option(TKV_WERROR "Treat warnings as errors" OFF)
option(TKV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TKV_FUZZ "Build the libFuzzer targets of fuzz/ (clang only; implies TKV_SANITIZE)" OFF)
if(TKV_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TKV_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(TKV_SANITIZE ON)
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

add_library(tkv_flags INTERFACE)
target_compile_options(tkv_flags INTERFACE -Wall -Wextra -Wpedantic)
if(TKV_WERROR)
  target_compile_options(tkv_flags INTERFACE -Werror)
endif()
if(TKV_SANITIZE)
  target_compile_options(tkv_flags INTERFACE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
  target_link_options(tkv_flags INTERFACE -fsanitize=address,undefined)
endif()
if(TKV_FUZZ)
  # Coverage for libFuzzer in every library; only the fuzz targets link its main.
  target_compile_options(tkv_flags INTERFACE -fsanitize=fuzzer-no-link)
endif()

set_property(GLOBAL PROPERTY TKV_PURE_LIBRARIES "")
set_property(GLOBAL PROPERTY TKV_LIBRARIES "")

# A library of pure logic: C++ and the C libraries only, never Qt.
function(tkv_add_pure_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC tkv_flags)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  set_property(GLOBAL APPEND PROPERTY TKV_PURE_LIBRARIES ${name})
  set_property(GLOBAL APPEND PROPERTY TKV_LIBRARIES ${name})
endfunction()

function(_tkv_collect_links target out)
  set(seen ${${out}})
  if(target IN_LIST seen)
    return()
  endif()
  list(APPEND seen ${target})
  if(TARGET ${target})
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(ilinks ${target} INTERFACE_LINK_LIBRARIES)
    foreach(l IN LISTS links ilinks)
      if(l AND NOT l MATCHES "-NOTFOUND$" AND NOT l MATCHES "^\\$<")
        _tkv_collect_links(${l} seen)
      endif()
    endforeach()
  endif()
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Fails the configuration when a pure library reaches Qt through any of its links.
function(tkv_check_pure_libraries)
  get_property(pure GLOBAL PROPERTY TKV_PURE_LIBRARIES)
  foreach(lib IN LISTS pure)
    set(all "")
    _tkv_collect_links(${lib} all)
    foreach(dep IN LISTS all)
      if(dep MATCHES "^Qt[0-9]*::" OR dep MATCHES "Qt[0-9]*(Core|Gui|Widgets)")
        message(FATAL_ERROR "Pure library ${lib} must not link Qt, but reaches ${dep}")
      endif()
    endforeach()
  endforeach()
endfunction()

# Publisher constants for a real release, e.g. -DTKV_PUBLISHER_DEFINITIONS="TKV_HOME_PAGE_ADDRESS=\"http://x/\"".
set(TKV_PUBLISHER_DEFINITIONS "" CACHE STRING "Compile definitions that set the publisher's addresses")
if(TKV_PUBLISHER_DEFINITIONS)
  target_compile_definitions(tkv_flags INTERFACE ${TKV_PUBLISHER_DEFINITIONS})
endif()

# A library of windows or other Qt code: Qt Widgets with moc, never linked by a pure library.
function(tkv_add_qt_library name)
  add_library(${name} STATIC ${ARGN})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  target_link_libraries(${name} PUBLIC tkv_flags Qt6::Widgets)
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  set_property(GLOBAL APPEND PROPERTY TKV_LIBRARIES ${name})
endfunction()
