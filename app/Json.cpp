#include "app/Json.h"

#include <cstdio>

namespace kelvra::json
{

namespace
{

// The length of the well-formed UTF-8 sequence at text[i], 0 when the bytes there are not one.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = c == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    const auto c1 = static_cast<unsigned char>(text[i + 1]);
    if (c1 < low || c1 > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

std::string quote(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            // Texts typed by the user may be in any encoding; the output stays valid JSON (UTF-8).
            const std::size_t length = utf8Length(text, i);
            if (length == 0) {
                out += "\xEF\xBF\xBD";
            } else {
                out.append(text.substr(i, length));
                i += length - 1;
            }
            continue;
        }
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
