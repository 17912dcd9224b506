// Saves one history after another over the same file with the program's own
// SaveHistory until it is killed; the killed-save test runs it.
//
//   history_saver <history file> <number of the first save>
#include <cstdlib>

#include "tests/stress/save_sequence.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    for (long n = std::atol(argv[2]);; ++n)
        if (!SaveHistory(argv[1], HistoryOfSave(n)))
            return 3;
}
