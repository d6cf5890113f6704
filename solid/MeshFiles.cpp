#include "solid/MeshFiles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace kelvra
{

namespace
{

void putFloat(std::string& out, double value)
{
    const auto f = static_cast<float>(value);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((bits >> (8 * i)) & 0xffu);
}

void putUint(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xffu);
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string s = text;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

} // namespace

Vec3 toFileAxes(Vec3 cm)
{
    return {cm.z * 10, cm.x * 10, cm.y * 10};
}

std::string meshesStl(const std::vector<BoardMesh>& meshes)
{
    std::string out = "Kelvra boards, binary STL in mm";
    out.resize(80, ' ');
    std::uint32_t count = 0;
    for (const BoardMesh& m : meshes)
        count += static_cast<std::uint32_t>(m.mesh.triangles.size());
    putUint(out, count, 4);
    for (const BoardMesh& m : meshes)
        for (const auto& t : m.mesh.triangles) {
            const Vec3 p = toFileAxes(m.mesh.vertices[static_cast<std::size_t>(t[0])]);
            const Vec3 q = toFileAxes(m.mesh.vertices[static_cast<std::size_t>(t[1])]);
            const Vec3 r = toFileAxes(m.mesh.vertices[static_cast<std::size_t>(t[2])]);
            const Vec3 n = unit(cross(q - p, r - p));
            for (const Vec3& v : {n, p, q, r}) {
                putFloat(out, v.x);
                putFloat(out, v.y);
                putFloat(out, v.z);
            }
            putUint(out, 0, 2);
        }
    return out;
}

std::string meshesObj(const std::vector<BoardMesh>& meshes)
{
    std::string out = "# Kelvra boards, mm, z up\n";
    std::size_t base = 1;
    for (const BoardMesh& m : meshes) {
        out += "o " + m.key + "\n";
        for (const Vec3& v : m.mesh.vertices) {
            const Vec3 p = toFileAxes(v);
            out += "v " + number(p.x) + " " + number(p.y) + " " + number(p.z) + "\n";
        }
        for (const auto& t : m.mesh.triangles)
            out += "f " + std::to_string(base + static_cast<std::size_t>(t[0])) + " " +
                   std::to_string(base + static_cast<std::size_t>(t[1])) + " " +
                   std::to_string(base + static_cast<std::size_t>(t[2])) + "\n";
        base += m.mesh.vertices.size();
    }
    return out;
}

} // namespace kelvra
