// A temporary folder of a test's own, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace kelvra::test
{

class TempFolder
{
public:
    TempFolder()
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("kelvra_test_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& dir() const { return m_path; }
    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

    // Writes the bytes as they stand and returns the file's path.
    std::string put(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories((m_path / name).parent_path());
        std::ofstream(m_path / name, std::ios::binary) << bytes;
        return file(name);
    }
    // Writes the lines, each ended by the given line end, and returns the file's path.
    std::string putLines(const std::string& name, const std::vector<std::string>& lines,
                         const std::string& lineEnd = "\r\n") const
    {
        std::string text;
        for (const std::string& l : lines)
            text += l + lineEnd;
        return put(name, text);
    }
    std::string read(const std::string& name) const { return slurp(m_path / name); }

    static std::string slurp(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
};

} // namespace kelvra::test
