#include "engine/sprite.h"

#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/matrixtransformation.h"
#include "engine/rendercontext.h"
#include "engine/result.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"
#include "engine/vertexarray.h"

#include <GLES2/gl2.h>

namespace {

const f32 kQuad[8] = {-1, -1, 1, -1, -1, 1, 1, 1};
const u16 kQuadIndices[6] = {0, 1, 2, 1, 3, 2};

VertexArray* sharedQuad() {
    VertexArray* quad = SceneGraph::getVertexArray("SpriteVertexArray");
    if (quad == nullptr) {
        quad = SceneGraph::createVertexArray("SpriteVertexArray", kQuad, 2, 4, kKeepCached);
        quad->setAttribute(0, 2, "Vertex");
    }
    return quad;
}

IndexArray* sharedIndices() {
    IndexArray* indices = SceneGraph::getIndexArray("SpriteIndexArray");
    if (indices == nullptr) {
        indices = SceneGraph::createIndexArray("SpriteIndexArray", kQuadIndices, 6, 0, kKeepCached);
    }
    return indices;
}

} // namespace

Sprite::Sprite(const char* name, Texture* texture_, bool addRef) : Geometry(name, kNodeSprite) {
    init(texture_, addRef);
}

Sprite::Sprite(const char* name, const char* file, u32 purgeLevel) : Geometry(name, kNodeSprite) {
    init(SceneGraph::createTexture(file, true, 2, 0, purgeLevel), false);
}

void Sprite::init(Texture* texture_, bool addRef) {
    vertexArray = sharedQuad();
    indexArray = sharedIndices();
    size = vec2(1, 1);
    texcoordsFrom = vec2(0, 0);
    texcoordsTo = vec2(1, 1);
    program = SceneGraph::createShaderProgram("SpriteProg", "\n", "../shaders/Sprite.vs",
                                              "../shaders/Sprite.fs", 1);
    Resource::pinHeld(vertexArray);
    Resource::pinHeld(indexArray);
    Resource::pinHeld(program);
    texture = nullptr;
    Resource::assignPinned(&texture, texture_, addRef);
}

Sprite::~Sprite() {
    Resource::releasePinned(vertexArray);
    Resource::releasePinned(indexArray);
    Resource::releasePinned(texture);
    Resource::releasePinned(program);
}

Node* Sprite::clone() const {
    Sprite* copy = SceneGraph::createSprite(getName(), texture, true);
    copy->size = size;
    copy->texcoordsFrom = texcoordsFrom;
    copy->texcoordsTo = texcoordsTo;
    copyLightsTo(copy);
    return copy;
}

void Sprite::setTexture(Texture* texture_, bool addRef) {
    Resource::assignPinned(&texture, texture_, addRef);
}

void Sprite::setTexture(const char* file, u32 purgeLevel) {
    Texture::loadPinned(&texture, file, purgeLevel);
}

void Sprite::setTexcoords(vec2 from, vec2 to) {
    texcoordsFrom = from;
    texcoordsTo = to;
}

vec3 Sprite::getLightColor() const {
    Light* light = firstLight();
    return light != nullptr ? light->getColor() * light->getIntensity() : vec3(1, 1, 1);
}

void Sprite::drawSelf(RenderContext* context) {
    GL_ASSERT();
    if (context->currentProgram != program) {
        program->activate();
        context->currentProgram = program;
    }
    context->matrices->setTransformationMatrices(program);
    const f32 position[3] = {world.m[12], world.m[13], world.m[14]};
    program->setUniformVector("Size", &size.x, 1, 2);
    program->setUniformVector("Position", position, 1, 3);
    program->setUniformVector("TexcoordsFrom", &texcoordsFrom.x, 1, 2);
    program->setUniformVector("TexcoordsTo", &texcoordsTo.x, 1, 2);
    program->setTextureSampler("TextureSampler", texture, 0);
    vec3 lightColor = getLightColor();
    program->setUniformVector("LightColor", &lightColor.x, 1, 3);
    GL_ASSERT();
    vertexArray->bindAttributes(program);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indexArray->getCount()), GL_UNSIGNED_SHORT,
                   indexArray->getArray());
    GL_ASSERT();
}
