# Interface target that turns on ASan + UBSan when KORVAN_SANITIZE is set.
add_library(korvan_sanitizers INTERFACE)
if(KORVAN_SANITIZE)
    target_compile_options(korvan_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(korvan_sanitizers INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing: the code under test carries libFuzzer's coverage instrumentation (clang only).
if(KORVAN_FUZZ)
    target_compile_options(korvan_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()
