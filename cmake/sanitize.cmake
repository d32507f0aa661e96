# Checked builds: SETTINGS_SANITIZE builds every target with AddressSanitizer and
# UndefinedBehaviorSanitizer, so the project's tests double as memory-error tests;
# SETTINGS_FUZZ adds the libFuzzer target, which needs clang.

option(SETTINGS_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(SETTINGS_FUZZ "Build the libFuzzer target under fuzz/ (clang only)" OFF)

if(SETTINGS_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "SETTINGS_SANITIZE needs gcc or clang")
  endif()
  # Any finding stops the program, so a test that trips a sanitizer fails.
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(SETTINGS_FUZZ AND NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "SETTINGS_FUZZ needs clang (configure with CXX=clang++)")
endif()
