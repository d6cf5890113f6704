// A small writer for the command-line tool's JSON output: members keep the order they are added in.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvra::json
{

std::string quote(std::string_view text);

class Object
{
public:
    Object& raw(std::string_view key, std::string value);
    Object& str(std::string_view key, std::string_view value) { return raw(key, quote(value)); }
    Object& boolean(std::string_view key, bool value) { return raw(key, value ? "true" : "false"); }
    Object& integer(std::string_view key, long long value) { return raw(key, std::to_string(value)); }
    std::string dump() const;

private:
    std::vector<std::pair<std::string, std::string>> m_members;
};

class Array
{
public:
    Array& raw(std::string value);
    std::string dump() const;

private:
    std::vector<std::string> m_items;
};

} // namespace kelvra::json
