// Started the way the program starts: it comes back with the environment it was given, and
// a page-sized image sits on 2 MB pages where the system gives them on request, the pool's
// blocks and (outside the sanitizers' allocator) any large block Qt or we allocate.
// Exits 0 when all holds; prints what did not.
#include "base/largepages.h"
#include "paint/pixelpool.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {
std::string thpMode() {
    std::ifstream f("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string line;
    std::getline(f, line);
    const auto open = line.find('['), close = line.find(']');
    return open == std::string::npos || close == std::string::npos
               ? std::string()
               : line.substr(open + 1, close - open - 1);
}

// The kB of the mapping holding p that sit on large pages.
long largePageKb(const void* p) {
    const auto at = reinterpret_cast<std::uintptr_t>(p);
    std::ifstream f("/proc/self/smaps");
    std::string line;
    bool inside = false;
    while (std::getline(f, line)) {
        std::uintptr_t from = 0, to = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> from >> dash >> to && dash == '-') {
            inside = from <= at && at < to;
            continue;
        }
        if (inside && line.rfind("AnonHugePages:", 0) == 0)
            return std::atol(line.c_str() + 14);
    }
    return -1;
}

int failures = 0;
void check(bool ok, const std::string& what) {
    if (!ok) {
        std::printf("FAILED: %s\n", what.c_str());
        ++failures;
    }
}
} // namespace

int main(int, char** argv) {
    const char* expected = std::getenv("PROBE_TUNABLES"); // what GLIBC_TUNABLES held at start
    restartWithLargePages(argv);
    const char* now = std::getenv("GLIBC_TUNABLES");
    check(expected ? now && std::strcmp(now, expected) == 0 : !now,
          std::string("GLIBC_TUNABLES is given back as it was, not ") + (now ? now : "(unset)"));
    check(!std::getenv("PICTARO_SAVED_TUNABLES"), "the restart's own variable is gone");
    // What ps, top and killall show.
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    check(name == "largepages_prob", "the process keeps its name, not " + name); // 15 letters

    const bool onRequest = thpMode() == "madvise";
    constexpr std::size_t kBytes = std::size_t(64) << 20;
    QImage page = pooledImage(QSize(4096, 4096), QImage::Format_RGB32);
    std::memset(page.bits(), 0xFF, std::size_t(page.sizeInBytes()));
    const long pooled = largePageKb(page.constBits());
    auto* plain = static_cast<unsigned char*>(std::malloc(kBytes));
    std::memset(plain, 1, kBytes);
    const long malloced = largePageKb(plain);
    std::printf("large pages given %s; pooled block %ld kB on them, malloc block %ld kB\n",
                thpMode().c_str(), pooled, malloced);
    if (onRequest) {
        check(pooled >= 32 << 10, "a pooled page-sized block sits on large pages");
#ifndef PICTARO_SANITIZED
        // Told to keep malloc's blocks on small pages, the program leaves it so; the pool's
        // blocks ask for large pages themselves.
        if (expected && std::strstr(expected, "glibc.malloc.hugetlb=0"))
            check(malloced == 0, "malloc's blocks stay on small pages when told so");
        else
            check(malloced >= 32 << 10,
                  "a large malloc block sits on large pages after the restart");
#endif
    } else if (thpMode() == "never") {
        check(pooled == 0 && malloced == 0, "no large pages where the system gives none");
    }
    std::free(plain);
    return failures == 0 ? 0 : 1;
}
