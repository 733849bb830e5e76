#include "base/largepages.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {
constexpr const char* kTunables = "GLIBC_TUNABLES";
constexpr const char* kLargeBlocks = "glibc.malloc.hugetlb=1";
// The variable's value before the restart: "-" when it was unset, else "=" and the value.
constexpr const char* kSaved = "PICTARO_SAVED_TUNABLES";

// "always" gives large pages without asking, "never" not at all.
bool givenOnRequest() {
    FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (!f)
        return false;
    char line[128] = {};
    const bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    return read && std::strstr(line, "[madvise]") != nullptr;
}

void restore(const char* saved) {
    if (saved[0] == '=')
        setenv(kTunables, saved + 1, 1);
    else
        unsetenv(kTunables);
}
} // namespace

void restartWithLargePages(char** argv) {
    if (const char* saved = std::getenv(kSaved)) {
        const std::string was = saved; // restore() may move the environment
        unsetenv(kSaved);
        restore(was.c_str());
        return;
    }
    const char* old = std::getenv(kTunables);
    if (!argv || !argv[0] || (old && std::strstr(old, "glibc.malloc.hugetlb")) || !givenOnRequest())
        return;
    const std::string was = old ? std::string("=") + old : std::string("-");
    const std::string now = old && *old ? std::string(old) + ":" + kLargeBlocks : kLargeBlocks;
    // The file itself, not /proc/self/exe: the process is named after the file it runs.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0 || n >= ssize_t(sizeof self - 1))
        return;
    self[n] = '\0';
    setenv(kSaved, was.c_str(), 1);
    setenv(kTunables, now.c_str(), 1);
    execv(self, argv);
    // Still here: go on as we are.
    unsetenv(kSaved);
    restore(was.c_str());
}

void adviseLargePages(void* data, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t from = (begin + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t to = (begin + bytes) & ~(kLargePage - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}
