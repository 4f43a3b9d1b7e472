# Interface target that turns on ASan + UBSan when KORVAN_SANITIZE is set.
add_library(korvan_sanitizers INTERFACE)
if(KORVAN_SANITIZE)
    target_compile_options(korvan_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(korvan_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Under AddressSanitizer the nodes, members and loads come from the heap (LeakSanitizer sees
# them); with this option they stay in the object pools, which poison freed objects.
option(KORVAN_ASAN_POOLS "Keep the object pools under AddressSanitizer" OFF)
if(KORVAN_ASAN_POOLS)
    target_compile_definitions(korvan_sanitizers INTERFACE KORVAN_ASAN_POOLS=1)
endif()

# clang before 19 leaves the sized operator delete out unless asked for (GCC has it by default).
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(korvan_sanitizers INTERFACE -fsized-deallocation)
endif()

# Fuzzing: the code under test carries libFuzzer's coverage instrumentation (clang only).
if(KORVAN_FUZZ)
    target_compile_options(korvan_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
