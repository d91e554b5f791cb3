#include "gamechecks.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>
#include <system_error>

namespace fs = std::filesystem;

Pixel Picture::at(int x, int y) const {
    size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return {rgba[i], rgba[i + 1], rgba[i + 2]};
}

int Picture::alpha(int x, int y) const {
    return rgba[(static_cast<size_t>(y) * width + x) * 4 + 3];
}

Picture LoadPicture(const std::string& path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        return picture;
    }
    image.format = PNG_FORMAT_RGBA;
    picture.rgba.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgba.data(), 0, nullptr) == 0) {
        picture.rgba.clear();
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

namespace {

// Escape held until the program ends: status 0, no mem.txt; the log.
std::string quit(GameRun& game) {
    game.keyDown("Escape");
    EXPECT_EQ(game.waitExit(), 0);
    game.keyUp("Escape");
    EXPECT_FALSE(game.memDumpExists());
    return game.log();
}

} // namespace

void ExpectCleanExit(GameRun& game) {
    std::string log = quit(game);
    EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

void ExpectExitWithoutModel(GameRun& game) {
    std::string log = quit(game);
    EXPECT_NE(log.find("Couldn't open .pwn file"), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

AssetTreeCopy::AssetTreeCopy(const std::vector<std::string>& folders) {
    char name[] = "/tmp/tessaly-tree-XXXXXX";
    if (mkdtemp(name) == nullptr) {
        return;
    }
    root = name;
    fs::path build = fs::path(GameRun::binDir()).parent_path();
    fs::copy(build / "bin", root / "bin", fs::copy_options::recursive);
    for (const std::string& folder : folders) {
        fs::copy(build / folder, root / folder, fs::copy_options::recursive);
    }
}

AssetTreeCopy::~AssetTreeCopy() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
}
