// Measure (a): the installer's extraction component on one archive, in a process of its own.
//   extract_bench ARCHIVE TARGET_DIRECTORY
// Prints the result, whether the control saw a failure, the time inside extract_archive and
// the process's peak working set; exits 1 unless every entry was written.
#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "unzip/extract_archive.h"

namespace {

// The events of a control whose window exists and whose handler never stops the walk.
class bench_events : public extraction_events {
public:
    bool window_exists() const override { return true; }
    bool raise_progress(int) override { return true; }
    void report_outcome(bool failed) override { failed_ = failed; }
    bool failed() const { return failed_; }

private:
    bool failed_ = true;
};

double now_ms() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: extract_bench ARCHIVE TARGET_DIRECTORY\n");
        return 2;
    }
    bench_events events;
    const double start = now_ms();
    const int result = extract_archive(argv[1], argv[2], events);
    const double elapsed = now_ms() - start;
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("result=%d failed=%d ms=%.1f peak_ws=%zu\n", result, events.failed() ? 1 : 0, elapsed,
                static_cast<size_t>(memory.PeakWorkingSetSize));
    return result == 1 && !events.failed() ? 0 : 1;
}
