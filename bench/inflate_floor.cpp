// Measure (c), the floor: minizip inflating every entry of an archive into memory, nothing
// written. Prints the bytes inflated, the time and the peak working set; exits 1 on any error
// (a CRC mismatch included).
//   inflate_floor ARCHIVE
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <vector>

extern "C" {
#include <unzip.h>
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: inflate_floor ARCHIVE\n");
        return 2;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    unzFile zip = unzOpen(argv[1]);
    if (!zip) return 1;
    std::vector<char> piece(16384);
    unsigned long long total = 0;
    bool ok = true;
    for (int at = unzGoToFirstFile(zip); ok && at == UNZ_OK; at = unzGoToNextFile(zip)) {
        if (unzOpenCurrentFile(zip) != UNZ_OK) {
            ok = false;
            break;
        }
        int read;
        while ((read = unzReadCurrentFile(zip, piece.data(), static_cast<unsigned>(piece.size()))) > 0) total += read;
        ok = read == 0 && unzCloseCurrentFile(zip) == UNZ_OK;  // UNZ_CRCERROR on a mismatch
    }
    unzClose(zip);
    QueryPerformanceCounter(&end);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("bytes=%llu ms=%.1f peak_ws=%zu\n", total,
                1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart),
                static_cast<size_t>(memory.PeakWorkingSetSize));
    return ok ? 0 : 1;
}
