# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the build settings that every target links.
add_library(tm_build INTERFACE)
target_compile_features(tm_build INTERFACE cxx_std_20)
target_compile_definitions(tm_build INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_USE_QSTRINGBUILDER
  QT_NO_KEYWORDS)
target_compile_options(tm_build INTERFACE
  -Wall -Wextra -Wpedantic -Wold-style-cast -Woverloaded-virtual -Wnon-virtual-dtor)
if(TM_WERROR)
  target_compile_options(tm_build INTERFACE -Werror)
endif()
if(TM_SANITIZE)
  target_compile_options(tm_build INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tm_build INTERFACE -fsanitize=address,undefined)
endif()
if(TM_FUZZ)
  # Coverage for libFuzzer in every target; the fuzz executables add its main.
  target_compile_options(tm_build INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
  target_link_options(tm_build INTERFACE -fsanitize=address,undefined)
endif()
# Every QObject subclass carries Q_OBJECT; moc runs on the sources that need it.
set(CMAKE_AUTOMOC ON)

# tm_library(name SOURCES... [PUBLIC ...] [PRIVATE ...]) defines one library per
# source folder; a folder of headers alone gives an interface library.
function(tm_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  if(NOT ARG_SOURCES)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE tm_build ${ARG_PUBLIC})
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC tm_build ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
endfunction()

# tm_test(name SOURCES... [DEPENDS ...]) defines one GoogleTest executable.
function(tm_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE tm_build tm_testsupport ${ARG_DEPENDS} GTest::gtest GTest::gmock)
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TELLMARIN_AUTOANSWER=1")
endfunction()
