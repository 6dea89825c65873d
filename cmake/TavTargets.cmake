# Compiler settings shared by every target, and the helpers that register tests.

if(WIN32)
  # ANSI ("A") functions throughout; static runtime so TAV.EXE needs only system DLLs.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
  add_compile_options(-Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)
  add_link_options(-static -static-libgcc -static-libstdc++)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  # The CTest emulator: run every Windows test program in this tree's Wine environment.
  set(TAV_WINE_ENV ${CMAKE_SOURCE_DIR}/scripts/wine-env)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TAV_WINE_ENV} run ${CMAKE_BINARY_DIR})
else()
  add_compile_options(-Wall -Wextra -Wno-unused-parameter)
  if(TAV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endif()

if(TAV_RELEASE)
  if(NOT WIN32)
    message(FATAL_ERROR "TAV_RELEASE builds TAV.EXE: configure it with a MinGW toolchain (release-x86, release-x64)")
  endif()
  # Small: no exception or RTTI support (nothing catches, see
  # app/lean_runtime.cpp); stripped. Functions and data stay together in their
  # file's sections: the assembler pads each code section to 16 bytes on x64,
  # which cost more than the unused functions a section each lets the linker
  # drop (whole unused files are still left out).
  # -Oz: smaller instruction choices than -Os (about 1 % of the code); nothing
  # here is bound by its own instructions. Small functions only are inlined: the
  # compiler's own limit inlines more than it saves.
  # No guards around function-level statics either: both programs run all their
  # code on one thread, and the library's guard (guard.o), which one such
  # static set at run time calls, brings in the threads library, the exception
  # runtime and, through its terminate handler, the demangler and MinGW's
  # printf: 110 to 145 KB a program.
  add_compile_options(-Oz -finline-limit=16 -fno-exceptions -fno-rtti -fno-threadsafe-statics)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # On i686 the tables only serve C++ exceptions, which this build has none of.
    # x64 keeps its unwind data: Windows itself walks the stack with it.
    # Windows enters the program's callbacks with the stack at 4 bytes; keeping
    # it there drops the padding each call would add to reach 16.
    add_compile_options(-fno-asynchronous-unwind-tables -fno-unwind-tables -fno-jump-tables -mpreferred-stack-boundary=2)
  endif()
  # No data imported from a DLL by auto-import: the release programs leave out
  # the start-up code that would patch such references (app/lean_runtime.cpp).
  add_link_options(-s LINKER:--gc-sections LINKER:--disable-auto-import LINKER:--disable-runtime-pseudo-reloc)
  # The linker's own script with the small sections folded into larger ones
  # (each section rounds the file up to 512 bytes): see cmake/lean_sections.py.
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-prog-name=ld OUTPUT_VARIABLE tav_ld OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(tav_link_script ${CMAKE_BINARY_DIR}/lean_sections.x)
  execute_process(COMMAND python3 ${CMAKE_SOURCE_DIR}/cmake/lean_sections.py ${tav_ld} ${tav_link_script}.new
                  RESULT_VARIABLE tav_script_status)
  if(NOT tav_script_status EQUAL 0)
    message(FATAL_ERROR "cmake/lean_sections.py could not write the release linker script")
  endif()
  # Rewritten only when it changes, so a new configure alone relinks nothing.
  execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${tav_link_script}.new ${tav_link_script})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/cmake/lean_sections.py)
  add_link_options("LINKER:-T,${tav_link_script}")
  # The link map beside each program says what every byte is (scripts/size-report reads it).
  add_link_options("LINKER:-Map=${CMAKE_BINARY_DIR}/$<TARGET_PROPERTY:NAME>.map")
else()
  # GoogleTest from Debian's sources, built for whichever target this tree is.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# tav_precompile(TARGET HEADERS...): parse these headers once for all of the
# target's files. TAV_PCH=OFF builds without, to see that every file includes
# what it uses.
option(TAV_PCH "Precompile the system and test headers in the test trees" ON)
function(tav_precompile target)
  if(TAV_PCH)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# tav_reuse_precompiled(TARGET FROM): TARGET's files, compiled as FROM's are, use FROM's headers.
function(tav_reuse_precompiled target from)
  if(TAV_PCH)
    target_precompile_headers(${target} REUSE_FROM ${from})
  endif()
endfunction()

# Host-side sources: appended to tav_core from each folder's CMakeLists.
function(tav_core_sources)
  target_sources(tav_core PRIVATE ${ARGN})
endfunction()

# Win32 sources: appended to tav_win (ignored in the host tree).
function(tav_win_sources)
  if(WIN32)
    target_sources(tav_win PRIVATE ${ARGN})
  endif()
endfunction()

# tav_test_code(TARGET): a test program's own code, compiled for the build's speed.
# Its time goes to Wine and waits, not to its own instructions, and at -Og a
# test file builds in about three quarters of its time at -O2. The product
# code it tests keeps the tree's optimisation.
function(tav_test_code target)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Og)
  endif()
endfunction()

# tav_test(NAME SOURCES... [LIBS libs...] [WINE] [LOCK] [LABELS ...])
# WINE: needs the tree's Wine environment (display, wineserver, prefix).
# LOCK: touches TAV.INI in the prefix or runs a bar: never alongside another such test.
function(tav_test name)
  cmake_parse_arguments(T "WINE;LOCK" "TIMEOUT" "SOURCES;LIBS;LABELS;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(WIN32 AND TARGET tav_res)
    # Resources are found by no symbol, so they must be linked into the program itself.
    target_sources(${name} PRIVATE $<TARGET_OBJECTS:tav_res>)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  tav_test_code(${name})
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
  if(WIN32)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_env)
    if(T_LOCK)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK tav_desktop)
    endif()
  endif()
endfunction()
