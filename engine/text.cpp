#include "engine/text.h"

#include "engine/memory.h"
#include "engine/platform.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"

#include <GLES2/gl2.h>

namespace {

const Result kFontNotLoaded = {1, "Couldn't load the font picture"};
const Result kFontNotPowerOfTwo = {
    1, "The font picture's sides must be powers of two of at least 16 pixels"};
const Result kNoDrawingContext = {1, "The text printer needs a drawing context"};
const Result kQueueFull = {1, "Too many strings queued for printing"};

constexpr f32 kCellTex = 1.0f / 16.0f;

// The font as one byte a pixel: the picture itself, or the last byte (the
// alpha) of each of its pixels.
u8* fontAlpha(u8* pixels, u32 width, u32 height, u32 bytesPerPixel) {
    if (bytesPerPixel <= 1) {
        return pixels;
    }
    u32 count = width * height;
    u8* alpha = static_cast<u8*>(MemoryAllocate(count));
    for (u32 i = 0; i < count; i++) {
        alpha[i] = pixels[i * bytesPerPixel + bytesPerPixel - 1];
    }
    PlatformFreeImage(pixels);
    return alpha;
}

} // namespace

// Hands laid-out glyphs to the printer to draw.
class Text::Drawer : public GlyphSink {
  public:
    explicit Drawer(const Text& text) : text(text) {}

    void draw(const GlyphDraw& glyph) override { text.drawGlyph(glyph); }

  private:
    const Text& text;
};

Text::Text(const char* fontFile, u32 spacing)
    : textureId(0), fontWidth(0), fontHeight(0), cellHeight(0), cellWidth(0), glyphWidths(),
      cellU(0), cellV(0), lineSpacing(spacing), screenWidth(0), screenHeight(0), program(nullptr),
      quad(), quadTex{kCellTex, kCellTex, kCellTex, 0, 0, kCellTex, 0, 0}, pixelSize() {
    u8* pixels = nullptr;
    u32 width = 0, height = 0, bytesPerPixel = 0;
    PlatformLoadImage(fontFile, &pixels, &width, &height, &bytesPerPixel);
    if (pixels == nullptr) {
        REPORT(kFontNotLoaded);
        return;
    }
    if (!TextFontAccepted(pixels, width, height)) {
        REPORT(kFontNotPowerOfTwo);
        PlatformFreeImage(pixels);
        return;
    }
    pixels = fontAlpha(pixels, width, height, bytesPerPixel);
    fontWidth = width;
    fontHeight = height;
    cellHeight = height / 16;
    cellWidth = width / 16;
    cellU = static_cast<f32>(cellWidth) / static_cast<f32>(width);
    cellV = static_cast<f32>(cellHeight) / static_cast<f32>(height);
    setScreenSize(320, 480);
    TextGlyphWidths(pixels, width, height, glyphWidths);
    bool drawable = createTexture(pixels);
    PlatformFreeImage(pixels);
    if (drawable) {
        program = SceneGraph::createShaderProgram("TextProg", "\n", "../shaders/TextVS.vs",
                                                  "../shaders/TextFS.fs", kKeepCached);
        // The printer keeps its program until the registry's shutdown
        // deletes it, after which the printer no longer touches it.
        Resource::pinHeld(program);
    }
}

Text::~Text() {
    if (textureId != 0) {
        glDeleteTextures(1, &textureId);
        GL_ASSERT();
    }
}

bool Text::createTexture(const u8* pixels) {
    if (glGetString(GL_VERSION) == nullptr) {
        REPORT(kNoDrawingContext);
        return false;
    }
    // Linear filter, clamped to the edge.
    textureId = Texture::upload(pixels, GL_ALPHA, fontWidth, fontHeight, false, 1, 0);
    return true;
}

void Text::setScreenSize(f32 width, f32 height) {
    screenWidth = width;
    screenHeight = height;
    f32 gw = 2.0f * static_cast<f32>(cellWidth) / width;
    f32 gh = 2.0f * static_cast<f32>(cellHeight) / height;
    const f32 corners[8] = {gw, 0, gw, gh, 0, 0, 0, gh};
    for (u32 i = 0; i < 8; i++) {
        quad[i] = corners[i];
    }
    pixelSize[0] = 2.0f / width;
    pixelSize[1] = 2.0f / height;
}

void Text::print(const char* text, f32 x, f32 y, u32 width, u32 maxLines) {
    if (!queue.push(text, x, y, width, maxLines)) {
        REPORT(kQueueFull);
    }
}

void Text::printAll() {
    if (queue.getCount() == 0) {
        return;
    }
    if (program == nullptr || !program->isLinked()) {
        queue.clear();
        return;
    }
    program->activate();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textureId);
    ShaderProgram::beginAttributes();
    program->setAttributePointer("pos", 2, false, 0, quad);
    program->setAttributePointer("tex", 2, false, 0, quadTex);
    ShaderProgram::endAttributes();
    const i32 unit = 0;
    program->setUniform("smp2d", &unit, 1);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    GL_ASSERT();
    Drawer drawer(*this);
    for (u32 slot = 0; slot < queue.getCount(); slot++) {
        printString(slot, drawer);
    }
    GL_ASSERT();
    queue.clear();
}

void Text::printString(u32 slot, Drawer& drawer) {
    i32 ox = static_cast<i32>(queue.getX(slot) * screenWidth * 0.5f);
    i32 oy = static_cast<i32>(queue.getY(slot) * screenHeight * 0.5f);
    TextMetrics metrics = {glyphWidths, cellHeight, lineSpacing};
    TextLayout(queue.getText(slot), ox, oy, queue.getWidth(slot), queue.getMaxLines(slot), metrics,
               drawer);
}

void Text::drawGlyph(const GlyphDraw& glyph) const {
    f32 offset[2] = {static_cast<f32>(glyph.x) / screenWidth * 2.0f,
                     static_cast<f32>(glyph.y) / screenHeight * 2.0f};
    f32 cell[2] = {static_cast<f32>(glyph.character % 16) * kCellTex,
                   static_cast<f32>(glyph.character / 16) * kCellTex};
    i32 bold = (glyph.style & kTextBold) != 0 ? 1 : 0;
    i32 italic = (glyph.style & kTextItalic) != 0 ? 2 : 0;
    program->setUniform("offset", offset, 2);
    program->setUniform("glyph", cell, 2);
    program->setUniform("pixel_size", pixelSize, 2);
    program->setUniform("color", &glyph.color.x, 4);
    program->setUniform("bold", &bold, 1);
    program->setUniform("italic", &italic, 1);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}
