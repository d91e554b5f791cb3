// assetgen <asset root>: draws every picture the programs read and writes it
// into the asset tree.
#include "assets.h"

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
    if (argc != 2) {
        std::fprintf(stderr, "usage: assetgen <asset root>\n");
        return 2;
    }
    std::string root = argv[1];
    bool ok = save(root, "skin/iphone.png", DrawPhone());
    return ok ? 0 : 1;
}
