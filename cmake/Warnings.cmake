# Interface target carrying the project's warning flags.
add_library(korvan_warnings INTERFACE)
target_compile_options(korvan_warnings INTERFACE -Wall -Wextra -Wpedantic)
target_compile_options(korvan_warnings INTERFACE $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>) # GCC 12 false positives in std::string at -O3
