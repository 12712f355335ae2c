// Runs a fuzz target over saved inputs without libFuzzer, so the normal (g++) build keeps every corpus as a
// regression test: each argument is a file or a folder of files; a broken property aborts the run.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* pArgc, char*** pArgv);

namespace
{
bool RunFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> vBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    // A copy of exactly the file's size, so reading past the input shows under the sanitizers.
    std::vector<uint8_t> vInput(vBytes.begin(), vBytes.end());
    LLVMFuzzerTestOneInput(vInput.empty() ? nullptr : vInput.data(), vInput.size());
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    int nRun = 0;
    bool bOk = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    bOk = RunFile(entry.path()) && bOk;
                    ++nRun;
                }
            }
        } else {
            bOk = RunFile(path) && bOk;
            ++nRun;
        }
    }
    std::printf("%d inputs replayed\n", nRun);
    // An empty corpus proves nothing: count it as a failure.
    return bOk && nRun > 0 ? 0 : 1;
}
