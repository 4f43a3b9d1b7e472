#include "analysis/IdleCores.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#if defined(__linux__)
#include <dirent.h>
#endif

namespace {
constexpr int KBackgroundNice = 10;

#if defined(__linux__)
bool IsNumber(const char* name) {
    if (!*name) return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

std::string ReadSmallFile(const std::string& path) {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        char buffer[1024];
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, f);
        text.assign(buffer, got);
        std::fclose(f);
    }
    return text;
}

// The runnable threads of every process that compete with a thread of normal priority; -1 when
// /proc cannot be read.
int RunnableAtNormalPriority() {
    DIR* proc = opendir("/proc");
    if (!proc) return -1;
    int count = 0;
    while (const dirent* p = readdir(proc)) {
        if (!IsNumber(p->d_name)) continue;
        const std::string tasks = std::string("/proc/") + p->d_name + "/task";
        DIR* dir = opendir(tasks.c_str());
        if (!dir) continue; // the process is gone
        while (const dirent* t = readdir(dir))
            if (IsNumber(t->d_name) && RunsAtNormalPriority(ReadSmallFile(tasks + "/" + t->d_name + "/stat")))
                ++count;
        closedir(dir);
    }
    closedir(proc);
    return count;
}
#endif
} // namespace

bool RunsAtNormalPriority(std::string_view line) {
    // "pid (name) state ppid ...": the name may hold spaces and parentheses, so the fields are
    // counted from the last ')'. The state is the first of them, the nice value the 17th.
    const std::size_t close = line.rfind(')');
    if (close == std::string_view::npos) return false;
    std::string_view rest = line.substr(close + 1);
    int field = 0;
    char state = 0;
    while (!rest.empty()) {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        rest.remove_prefix(start);
        const std::size_t end = std::min(rest.find(' '), rest.size());
        const std::string_view token = rest.substr(0, end);
        rest.remove_prefix(end);
        ++field;
        if (field == 1) {
            if (token.size() != 1) return false;
            state = token[0];
            if (state != 'R') return false;
        } else if (field == 17) {
            int nice = 0;
            const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), nice);
            if (ec != std::errc() || ptr != token.data() + token.size()) return false;
            return nice < KBackgroundNice;
        }
    }
    return false;
}

int IdleCores(unsigned cores, bool lookCloser) {
#if defined(__linux__)
    // The kernel's count of runnable threads is quick to read; only when it says the machine is
    // busy are the threads looked at one by one, for those of a background job.
    if (std::FILE* f = std::fopen("/proc/loadavg", "r")) {
        double a = 0, b = 0, c = 0;
        int running = 0, total = 0;
        const int got = std::fscanf(f, "%lf %lf %lf %d/%d", &a, &b, &c, &running, &total);
        std::fclose(f);
        if (got == 5 && running >= 1) {
            if (int(cores) - running >= 1 || !lookCloser) return int(cores) - running;
            const int normal = RunnableAtNormalPriority();
            return normal >= 1 ? int(cores) - normal : int(cores) - running;
        }
    }
    double load = 0;
    if (getloadavg(&load, 1) == 1) return int(double(cores) - load + 0.5);
#endif
    return int(cores) - 1;
}

bool SecondCoreIdle(bool lookCloser) {
    const unsigned cores = std::thread::hardware_concurrency();
    return cores >= 2 && IdleCores(cores, lookCloser) >= 1;
}
