// Saves one history after another over the same file with the program's own
// SaveHistory until it is killed; the fault-injection test runs it.
//
//   history_saver <history file> <name of the save counter>
//
// The save counter is a shared memory block holding the number of the last
// save that completed; the helper goes on from the number after it.
#include <windows.h>

#include "jump/history.h"
#include "tests/stress/save_sequence.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, argv[2]);
    auto* completed = mapping ? static_cast<volatile LONG*>(
                                    MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)))
                              : nullptr;
    if (!completed)
        return 1;
    for (LONG n = *completed + 1;; ++n) {
        if (!SaveHistory(argv[1], HistoryOfSave(n)))
            return 3;
        InterlockedExchange(completed, n);
    }
}
