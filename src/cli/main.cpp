#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/Calc.h"
#include "cli/TerminalText.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    // Pictures drawn by the Qt painter come from the helper, so that every other run of the
    // calculator starts without loading Qt. Should the helper be missing, the run goes on here
    // and names the format it cannot draw.
    if (NeedsPictureHelper(args)) {
        const std::string helper = PictureHelperPath();
        std::vector<char*> helperArgv(argv, argv + argc + 1);
        helperArgv[0] = const_cast<char*>(helper.c_str());
        execv(helper.c_str(), helperArgv.data());
    }
    // Names from the project are printed in the report; on a terminal their control characters
    // are escaped, as in every message.
    if (::isatty(STDOUT_FILENO)) {
        TEscapingStream out(std::cout);
        return RunCalc(args, out, std::cerr);
    }
    return RunCalc(args, std::cout, std::cerr);
}
