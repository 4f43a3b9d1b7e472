#pragma once
// The headless calculator: reads a project and runs the program's main job on it.
#include <iosfwd>
#include <string>
#include <vector>

// Runs korvan-calc with the given arguments (without the program name); returns the exit code:
// 0 done, 1 the structure was refused, 2 bad usage or a project that cannot be read.
int RunCalc(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
