// The console start floor: a program that does nothing. Prints its peak working set with
// "ws", the memory floor of any process under the same Wine.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "ws") == 0) {
        PROCESS_MEMORY_COUNTERS memory{};
        memory.cb = sizeof(memory);
        GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
        std::printf("peak_ws=%zu\n", static_cast<size_t>(memory.PeakWorkingSetSize));
    }
    return 0;
}
