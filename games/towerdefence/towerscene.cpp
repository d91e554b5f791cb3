#include "games/towerdefence/towerscene.h"

#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/vertexarray.h"

void ApplyLook(MaterialPhong* material, const Look& look, const char* picture) {
    material->setDiffuseTexture(picture, 1);
    material->ambientColor = look.ambient;
    material->diffuseColor = look.diffuse;
    material->specularColor = look.specular;
    material->shininess = look.shininess;
    material->emissive = look.emissive;
    material->specularLevel = look.specularLevel;
}

VertexArray* CreateTexturedArray(const char* name, const f32* data, u32 count) {
    VertexArray* array = SceneGraph::createVertexArray(name, data, 9, count, 1);
    array->setAttribute(0, 3, "Vertex");
    array->setAttribute(3, 3, "Normal");
    array->setAttribute(6, 3, "Texcoord");
    return array;
}
