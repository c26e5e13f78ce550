// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target on every file of its corpus folders, without libFuzzer, so that any
// compiler builds it and an input that once broke a property is tried on every test run.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzzcommon.h"

int main(int argc, char **argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        if (fs::is_directory(argv[i], ec)) {
            for (const fs::directory_entry &e : fs::directory_iterator(argv[i])) {
                if (e.is_regular_file())
                    files.push_back(e.path());
            }
        } else {
            files.emplace_back(argv[i]);
        }
    }
    // An empty corpus would pass without trying anything.
    if (files.empty()) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER-OR-FILE...; no inputs found\n", argv[0]);
        return 1;
    }
    std::sort(files.begin(), files.end());
    replayingCorpus() = true;
    for (const fs::path &path : files) {
        std::ifstream f(path, std::ios::binary);
        if (!f) {
            std::fprintf(stderr, "%s cannot be read\n", path.string().c_str());
            return 1;
        }
        const std::vector<char> bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "%s (%zu bytes)\n", path.string().c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
