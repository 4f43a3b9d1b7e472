#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

// The report and protocol goldens of the examples are the output of the exact reference
// frame_reference.py; a golden edited by hand (or pasted from the program) fails here. The
// script also compares the hand-derived cantilever and simple-beam reports. Needs python3.
TEST(GoldenReference, ScriptReproducesEveryGolden) {
    const std::string script = std::string(KORVAN_SOURCE_DIR) + "/tests/data/reports/frame_reference.py";
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 is not installed";
    const std::string cmd = "python3 '" + script + "' --check-goldens 2>/dev/null";
    FILE* pipe = popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buf[4096];
    for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;
    EXPECT_EQ(out, "") << "golden files that differ from the reference";
}
