#pragma once

#include <sched.h>
#include <vector>

// The processors the calling thread may run on, lowest first.
inline std::vector<int> AllowedProcessors() {
    cpu_set_t set;
    std::vector<int> cpus;
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        for (int cpu = 0; cpu < CPU_SETSIZE; cpu++) {
            if (CPU_ISSET(cpu, &set)) {
                cpus.push_back(cpu);
            }
        }
    }
    return cpus;
}
