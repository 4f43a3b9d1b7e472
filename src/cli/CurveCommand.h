#pragma once
// korvan-calc --curve: generates nodes (and members) along y = f(x) on a project and saves it,
// so that arches and curved chords can be made in scripts.
#include <iosfwd>
#include <string>
#include <vector>

// Runs the curve command with the program's arguments (without the program name):
//   --curve FORMULA --from A --to B --step S [--chord [--tolerance T]] [--join] --save OUT.inp
//   [PROJECT.inp]
// Numbers and the formula use the decimal point. Returns 0 when the project was saved, 2 on bad
// usage, a project that cannot be read or written, or a failed generation (nothing is saved then).
int RunCurveCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
