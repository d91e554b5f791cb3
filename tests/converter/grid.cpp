#include "grid.h"

#include <sstream>

namespace {

// The corners (position numbers from 0) of every triangle of the grid.
std::vector<std::array<int, 3>> gridCorners(int columns, int rows) {
    std::vector<std::array<int, 3>> corners;
    for (int y = 0; y + 1 < rows; ++y) {
        for (int x = 0; x + 1 < columns; ++x) {
            int a = y * columns + x, b = a + 1, c = a + columns, d = c + 1;
            corners.push_back({a, b, d});
            corners.push_back({a, d, c});
        }
    }
    return corners;
}

} // namespace

std::string GridObj(int columns, int rows) {
    std::ostringstream text;
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            text << "v " << x << ' ' << y << " 0\n";
        }
    }
    for (const auto& t : gridCorners(columns, rows)) {
        text << "f " << t[0] + 1 << ' ' << t[1] + 1 << ' ' << t[2] + 1 << '\n';
    }
    return text.str();
}

std::string GridDae(int columns, int rows, const std::vector<float>& translations) {
    std::vector<std::array<int, 3>> corners = gridCorners(columns, rows);
    std::ostringstream text;
    text << "<COLLADA version=\"1.4.1\">\n<library_effects><effect id=\"m-fx\" name=\"m\">"
            "<profile_COMMON><technique sid=\"common\"><phong><diffuse><color>1 0 0 1</color>"
            "</diffuse></phong></technique></profile_COMMON></effect></library_effects>\n"
            "<library_geometries><geometry id=\"grid-mesh\" name=\"grid\"><mesh>\n"
            "<source id=\"grid-pos\"><float_array id=\"grid-pos-array\" count=\""
         << 3 * columns * rows << "\">";
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            text << x << ' ' << y << " 0 ";
        }
    }
    text << "</float_array>\n<technique_common><accessor source=\"#grid-pos-array\" count=\""
         << columns * rows
         << "\" stride=\"3\"/></technique_common></source>\n"
            "<vertices id=\"grid-vtx\"><input semantic=\"POSITION\" source=\"#grid-pos\"/>"
            "</vertices>\n<triangles material=\"m\" count=\""
         << corners.size()
         << "\"><input semantic=\"VERTEX\" source=\"#grid-vtx\" offset=\"0\"/><p>";
    for (const auto& t : corners) {
        text << t[0] << ' ' << t[1] << ' ' << t[2] << ' ';
    }
    text << "</p></triangles>\n<triangles material=\"m\" count=\"1\"><input semantic=\"VERTEX\" "
            "source=\"#grid-vtx\" offset=\"0\"/><p>0 1 "
         << columns
         << "</p></triangles>\n</mesh></geometry></library_geometries>\n"
            "<library_visual_scenes><visual_scene id=\"scene\">\n";
    for (std::size_t k = 0; k < translations.size(); ++k) {
        text << "<node id=\"n" << k << "\" name=\"n" << k << "\"><translate>" << translations[k]
             << " 0 0</translate><instance_geometry url=\"#grid-mesh\"/></node>\n";
    }
    text << "</visual_scene></library_visual_scenes>\n</COLLADA>\n";
    return text.str();
}

std::multiset<Triangle> GridTriangles(int columns, int rows) {
    std::multiset<Triangle> triangles;
    auto position = [columns](int n) {
        return std::array<float, 3>{float(n % columns), float(n / columns), 0};
    };
    for (const auto& t : gridCorners(columns, rows)) {
        Triangle triangle;
        for (int i = 0; i < 3; ++i) {
            std::array<float, 3> p = position(t[i]);
            triangle[3 * i] = p[0];
            triangle[3 * i + 1] = p[1];
            triangle[3 * i + 2] = p[2];
        }
        triangles.insert(triangle);
    }
    return triangles;
}

Triangle SpareTriangle() {
    return {0, 0, 0, 1, 0, 0, 0, 1, 0};
}
