# Interface target carrying the project's warning flags.
add_library(korvan_warnings INTERFACE)
target_compile_options(korvan_warnings INTERFACE -Wall -Wextra -Wpedantic)
