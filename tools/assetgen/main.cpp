// assetgen <asset root> <font file>: draws every picture the programs read and writes it
// into the asset tree. assetgen --models <dir>: writes the COLLADA documents of
// the programs' models into dir; --test-models <dir> those of the tests' models.
#include "assets.h"
#include "lettering.h"
#include "models.h"
#include "ogreblast.h"

#include <cstdio>
#include <string>

namespace {

bool save(const std::string& root, const char* rel, const Canvas& c, PngKind kind = PngKind::Rgba) {
    std::string path = root + "/" + rel;
    if (!c.savePng(path, kind)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool saveGolf(const std::string& root, const char* fontFile) {
    bool ok = save(root, "textures/chrome.png", DrawChrome(), PngKind::Rgb);
    ok = save(root, "textures/noise.png", DrawHoleNoise(), PngKind::Rgb) && ok;
    ok = save(root, "textures/tiles4.png", DrawWallTiles(), PngKind::Rgb) && ok;
    ok = save(root, "project/woodbg.png", DrawWoodBoard(), PngKind::Rgb) && ok;
    Lettering lettering(fontFile);
    if (!lettering.ready()) {
        return false;
    }
    ok = save(root, "project/tmpmenu.png", DrawGolfMenu(lettering), PngKind::Rgb) && ok;
    return save(root, "project/tmpend.png", DrawGolfEnd(lettering), PngKind::Rgb) && ok;
}

bool savePlanetRun(const std::string& root, const char* fontFile) {
    bool ok = save(root, "textures/tiles.png", DrawShipHull(), PngKind::Rgb);
    ok = save(root, "textures/asteroid.png", DrawAsteroidRock(), PngKind::Rgb) && ok;
    ok = save(root, "textures/sandstone.png", DrawSandstone(), PngKind::Rgb) && ok;
    ok = save(root, "textures/wormhole.png", DrawWormhole(), PngKind::Rgb) && ok;
    ok = save(root, "textures/plain.png", DrawPlain(), PngKind::Rgb) && ok;
    Lettering lettering(fontFile);
    if (!lettering.ready()) {
        return false;
    }
    ok = save(root, "textures/gamestart.png", DrawPlanetStart(lettering), PngKind::Rgb) && ok;
    ok = save(root, "textures/gamewon.png", DrawPlanetWon(lettering), PngKind::Rgb) && ok;
    return save(root, "textures/gameover.png", DrawPlanetLost(lettering), PngKind::Rgb) && ok;
}

bool saveTowerDefence(const std::string& root, const char* fontFile) {
    bool ok = save(root, "textures/grass.png", DrawGrass(), PngKind::Rgb);
    ok = save(root, "textures/RedDirt.png", DrawRedDirt(), PngKind::Rgb) && ok;
    ok = save(root, "textures/cannontower_low.png", DrawCannonTower(), PngKind::Rgb) && ok;
    ok = save(root, "textures/enemy.png", DrawEnemySkin(), PngKind::Rgb) && ok;
    ok = save(root, "textures/hpbar.png", DrawHealthBar(), PngKind::Rgb) && ok;
    ok = save(root, "textures/spaceback.png", DrawSpaceBack(), PngKind::Rgb) && ok;
    Lettering lettering(fontFile);
    if (!lettering.ready()) {
        return false;
    }
    ok =
        save(root, "textures/BaseMenuNew.png", DrawTowerDefenceBaseMenu(lettering), PngKind::Rgb) &&
        ok;
    ok =
        save(root, "textures/TowerMenu2.png", DrawTowerDefenceTowerMenu(lettering), PngKind::Rgb) &&
        ok;
    return save(root, "textures/UpgradeSelections.png", DrawTowerDefenceUpgradeMenu(lettering),
                PngKind::Rgb) &&
           ok;
}

bool saveAsteroids(const std::string& root, const char* fontFile) {
    bool ok = save(root, "textures/bgstor.png", DrawStarfield(), PngKind::Rgb);
    ok = save(root, "textures/ast.png", DrawRockSurface(), PngKind::Rgb) && ok;
    ok = save(root, "textures/shiphull.png", DrawShooterHull(), PngKind::Rgb) && ok;
    Lettering lettering(fontFile);
    return lettering.ready() &&
           save(root, "textures/relax2.png", DrawLevelPause(lettering), PngKind::Rgb) && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--models") {
        return WriteModels(argv[2]) ? 0 : 1;
    }
    if (argc == 3 && std::string(argv[1]) == "--test-models") {
        return WriteTestModels(argv[2]) ? 0 : 1;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen <asset root> <font file>\n");
        return 2;
    }
    std::string root = argv[1];
    Canvas font(1, 1, {0, 0, 0, 1});
    bool ok = save(root, "skin/iphone.png", DrawPhone());
    ok = DrawFont(argv[2], &font) && save(root, "fonts/font.png", font, PngKind::Grey) && ok;
    ok = save(root, "textures/notex.png", DrawNoTexture()) && ok;
    ok = SaveMazePictures(root) && ok;
    ok = savePlanetRun(root, argv[2]) && ok;
    ok = save(root, "textures/craters.png", DrawCraters(), PngKind::Rgb) && ok;
    ok = saveTowerDefence(root, argv[2]) && ok;
    ok = saveAsteroids(root, argv[2]) && ok;
    ok = WriteOgreblastPictures(root, argv[2]) && ok;
    return saveGolf(root, argv[2]) && ok ? 0 : 1;
}
