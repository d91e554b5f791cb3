// assetgen <asset root> <font file>: draws every picture the programs read and writes it
// into the asset tree. assetgen --models <dir>: writes the .obj sources of the
// models into dir.
#include "assets.h"
#include "models.h"

#include <cstdio>
#include <string>

namespace {

bool save(const std::string& root, const char* rel, const Canvas& c, bool grey = false) {
    std::string path = root + "/" + rel;
    if (!c.savePng(path, grey)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--models") {
        return WriteModels(argv[2]) ? 0 : 1;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen <asset root> <font file>\n");
        return 2;
    }
    std::string root = argv[1];
    Canvas font(1, 1, {0, 0, 0, 1});
    bool ok = save(root, "skin/iphone.png", DrawPhone());
    ok = DrawFont(argv[2], &font) && save(root, "fonts/font.png", font, true) && ok;
    ok = save(root, "textures/notex.png", DrawNoTexture()) && ok;
    return ok ? 0 : 1;
}
