// Two commands run in turn, A B A B ..., each as a whole process: median user+system time and
// median wall time of each, and the ratio A/B. Usage: process_bench RUNS 'COMMAND A' 'COMMAND B'
// (each command split on spaces; no shell).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Sample {
    double cpu;
    double wall;
};

Sample runOnce(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const auto& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    posix_spawn_file_actions_destroy(&actions);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0]);
        std::exit(1);
    }
    auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), wall.count()};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

std::vector<std::string> split(const std::string& command) {
    std::istringstream in(command);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: process_bench RUNS 'COMMAND A' 'COMMAND B'\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const auto a = split(argv[2]), b = split(argv[3]);
    runOnce(a), runOnce(b);  // warm the page cache
    std::vector<double> cpuA, cpuB, wallA, wallB, cpuRatio, wallRatio;
    for (int i = 0; i < runs; ++i) {
        const Sample sa = runOnce(a), sb = runOnce(b);
        cpuA.push_back(sa.cpu), cpuB.push_back(sb.cpu), wallA.push_back(sa.wall), wallB.push_back(sb.wall);
        wallRatio.push_back(sa.wall / sb.wall);
    }
    std::printf("%.3f %.3f %.3f %.3f %.3f\n", median(cpuA) * 1e3, median(cpuB) * 1e3, median(wallA) * 1e3,
                median(wallB) * 1e3, median(wallRatio));
    return 0;
}
