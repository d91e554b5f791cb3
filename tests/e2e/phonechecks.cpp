#include "phonechecks.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isRim(Pixel p) {
    return p.r > 80 && p.g > 80 && p.b > 80;
}

} // namespace

bool ShowsPortraitPhone(const Image& shot) {
    return shot.width == kWindowSide && isRim(shot.at(173, 150)) && isRim(shot.at(173, 590)) &&
           !isRim(shot.at(150, 173)) && !isRim(shot.at(590, 173));
}

bool ShowsLandscapePhone(const Image& shot) {
    return shot.width == kWindowSide && isRim(shot.at(150, 173)) && isRim(shot.at(590, 173)) &&
           !isRim(shot.at(173, 150)) && !isRim(shot.at(173, 590));
}

std::string ExpectExitWithoutErrors(GameRun& game) {
    game.keyDown("Escape");
    EXPECT_EQ(game.waitExit(), 0);
    game.keyUp("Escape");
    std::string log = game.log();
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_FALSE(game.memDumpExists());
    return log;
}

void ExpectCleanExit(GameRun& game) {
    std::string log = ExpectExitWithoutErrors(game);
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
}

CopiedTree::CopiedTree() {
    char name[] = "/tmp/tessaly-tree-XXXXXX";
    if (mkdtemp(name) == nullptr) {
        return;
    }
    root = name;
    fs::path build = fs::path(GameRun::binDir()).parent_path();
    for (const char* dir : {"bin", "shaders", "textures", "fonts", "skin", "project", "models"}) {
        if (fs::exists(build / dir)) {
            fs::copy(build / dir, root / dir, fs::copy_options::recursive);
        }
    }
}

CopiedTree::~CopiedTree() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}
