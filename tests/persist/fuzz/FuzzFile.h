// The fuzz input as a file: the readers only read files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

inline std::string writeFuzzFile(const std::uint8_t* data, std::size_t size, const char* name)
{
    const std::string path = "/tmp/kelvra-fuzz-" + std::to_string(getpid()) + "-" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return path;
}
