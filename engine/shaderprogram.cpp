#include "engine/shaderprogram.h"

#include "engine/scenegraph.h"
#include "engine/shader.h"

#include <GLES2/gl2.h>

ShaderProgram::ShaderProgram(const char* name, Shader* vertex, Shader* fragment, u32 purgeLevel)
    : Resource(name, purgeLevel, kResourceShaderProgram), vertexShader(vertex),
      fragmentShader(fragment), id(0) {
    setSize((vertex != nullptr ? vertex->getSize() : 0) +
            (fragment != nullptr ? fragment->getSize() : 0));
}

ShaderProgram::~ShaderProgram() {
    if (vertexShader != nullptr) {
        SceneGraph::dereferenceResource(vertexShader);
    }
    if (fragmentShader != nullptr) {
        SceneGraph::dereferenceResource(fragmentShader);
    }
}

i32 ShaderProgram::getUniformLocation(const char* name) const {
    return glGetUniformLocation(id, name);
}
