#include <iostream>
#include <string>
#include <vector>

#include "cli/Calc.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return RunCalc(args, std::cout, std::cerr);
}
