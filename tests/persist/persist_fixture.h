// A temporary program folder per test, and the bytes of the files in it.
#pragma once

#include "persist/Ini.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kelvra::testing
{

// The project file of the design a first start shows, byte for byte.
inline const std::string kFirstRunFile =
    "[MAIN]\r\nfid=v0110\r\n[DATA]\r\nsub=2\r\npieces0=0\r\npieces1=0\r\npieces2=0\r\n"
    "corr=0\r\npwhere=0\r\nptype=0\r\nh2=40\r\nl3=40\r\nb2=40\r\nca=90\r\ncb=90\r\n"
    "lp=0\r\ndp=0\r\nbp=0\r\nhp=0\r\nthick0=18\r\nthick1=18\r\nthick2=18\r\n"
    "subvol=0\r\nvother=0\r\n";

class TempFolderTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        dir = std::filesystem::temp_directory_path() / ("kelvra-persist-" + name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    char sep() const { return GetParam(); }
    // A number text written with the test's separator: "87,5" or "87.5".
    std::string num(const std::string& text) const { return test::under(text, sep()); }
    std::string slurp(const std::filesystem::path& p) const
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void put(const std::filesystem::path& p, const std::string& bytes) const
    {
        std::ofstream(p, std::ios::binary) << bytes;
    }

    std::filesystem::path dir;
};

// The project and woofer files' tests: the settings in a program folder of their own inside the
// temporary folder, the files beside it.
class ProgramFolderTest : public TempFolderTest
{
protected:
    IniStore store() const { return IniStore({(dir / "program").string(), "kelvra"}); }
    std::string folder() const { return dir.string(); }
};

} // namespace kelvra::testing
