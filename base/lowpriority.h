#pragma once
// Background readers (page pictures, the "My pictures" shelf) run at nice 10: never starved,
// but a child's tap on the window's thread comes first.
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

inline void lowerThisThreadsPriority() {
    setpriority(PRIO_PROCESS, pid_t(syscall(SYS_gettid)), 10);
}
