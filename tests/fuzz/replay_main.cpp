// Runs a fuzz target once over every input kept in its corpus folder, so that
// the normal test run replays them without libFuzzer. A missing folder throws,
// and git keeps no empty one, so a replay never passes on nothing.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    for (const auto& input : std::filesystem::directory_iterator(argc == 2 ? argv[1] : "")) {
        std::ifstream in(input.path(), std::ios::binary);
        const std::string bytes(std::istreambuf_iterator<char>(in), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
}
