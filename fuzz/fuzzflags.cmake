# SPDX-License-Identifier: GPL-3.0-or-later
# Every library of the fuzz build is instrumented for libFuzzer and the sanitizers.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (CC=clang CXX=clang++)")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)
add_link_options(-fsanitize=address,undefined)
