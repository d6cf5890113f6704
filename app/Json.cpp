#include "Json.h"

#include <cstdio>

namespace kelvra::json {

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

Object& Object::raw(std::string_view key, std::string value)
{
    m_members.emplace_back(std::string(key), std::move(value));
    return *this;
}

std::string Object::dump() const
{
    std::string out = "{";
    for (std::size_t i = 0; i < m_members.size(); ++i) {
        if (i)
            out += ",";
        out += quote(m_members[i].first) + ":" + m_members[i].second;
    }
    return out + "}";
}

Array& Array::raw(std::string value)
{
    m_items.push_back(std::move(value));
    return *this;
}

std::string Array::dump() const
{
    std::string out = "[";
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (i)
            out += ",";
        out += m_items[i];
    }
    return out + "]";
}

} // namespace kelvra::json
