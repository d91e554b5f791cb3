// Frames per second of one world of N lit meshes drawn by World::drawAll,
// against a plain hand-written GLES2 loop that issues the same draws with the
// same program, uniforms, texture and state into the same window surface.
//
// How to run (needs an X display; the working directory must be bin/ so that
// "../shaders/" resolves):
//   cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSALY_BENCH=ON
//   cmake --build build-bench --target world_draw assets
//   cd build-bench/bin && xvfb-run -a -s "-screen 0 1024x1024x24 -noreset" ../bench/world_draw
// or `cmake --build build-bench --target world_draw_bench`, which does the same.
// On a shared machine put `taskset -c N` in front to keep it on a quiet
// processor (the host alone would pin it to processor 0).
// Arguments, both optional: the seconds spent on each side of each
// measurement (default 0.5), and one mesh count to measure alone (for a
// profiler). Every count is measured over five alternating rounds and the
// median is reported. Every frame ends in glFinish, so the
// time includes the GPU's work.
//
// Two hand-written loops are timed: "same calls" sends per mesh every uniform,
// sampler and attribute that the engine sends, through locations looked up
// once; "lean" sends only the three matrices per mesh and everything else
// once a frame. The goal is the engine within 1.3x of "same calls".
#include "bench/benchwindow.h"
#include "engine/camera.h"
#include "engine/indexarray.h"
#include "engine/light.h"
#include "engine/materialphong.h"
#include "engine/scenegraph.h"
#include "engine/shaderprogram.h"
#include "engine/texture.h"
#include "engine/trianglemesh.h"
#include "engine/vertexarray.h"
#include "engine/world.h"
#include "host/ape.h"

#include <GLES2/gl2.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr u32 kFloatsPerVertex = 8; // position 3, texture coordinates 2, normal 3
constexpr u32 kRounds = 5;

// A cube of side 1 around the origin: 24 vertices, 36 indices.
void buildCube(std::vector<f32>& vertices, std::vector<u16>& indices) {
    // Each face: its normal and two axes spanning it.
    const f32 faces[6][9] = {{0, 0, 1, 1, 0, 0, 0, 1, 0},  {0, 0, -1, -1, 0, 0, 0, 1, 0},
                             {1, 0, 0, 0, 0, -1, 0, 1, 0}, {-1, 0, 0, 0, 0, 1, 0, 1, 0},
                             {0, 1, 0, 1, 0, 0, 0, 0, -1}, {0, -1, 0, 1, 0, 0, 0, 0, 1}};
    const f32 corners[4][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (const auto& f : faces) {
        const u16 base = static_cast<u16>(vertices.size() / kFloatsPerVertex);
        for (const auto& c : corners) {
            for (u32 k = 0; k < 3; ++k) {
                vertices.push_back(0.5f * (f[k] + c[0] * f[3 + k] + c[1] * f[6 + k]));
            }
            vertices.push_back(0.5f * (c[0] + 1));
            vertices.push_back(0.5f * (c[1] + 1));
            vertices.insert(vertices.end(), f, f + 3);
        }
        const u16 quad[6] = {0, 1, 2, 1, 3, 2};
        for (u16 q : quad) {
            indices.push_back(static_cast<u16>(base + q));
        }
    }
}

// The uniform locations of the Phong program, looked up once.
struct Locations {
    GLint lightVector, lightColor, ambient, diffuse, specular, shininess, emissive, specularLevel;
    GLint sampler, viewPosition, world, worldInverseTranspose, worldViewProjection;
    GLint vertex, texCoord, normal;

    explicit Locations(GLuint p)
        : lightVector(glGetUniformLocation(p, "LightVector")),
          lightColor(glGetUniformLocation(p, "LightColor")),
          ambient(glGetUniformLocation(p, "AmbientColor")),
          diffuse(glGetUniformLocation(p, "DiffuseColor")),
          specular(glGetUniformLocation(p, "SpecularColor")),
          shininess(glGetUniformLocation(p, "Shininess")),
          emissive(glGetUniformLocation(p, "Emissive")),
          specularLevel(glGetUniformLocation(p, "SpecularLevel")),
          sampler(glGetUniformLocation(p, "DiffuseSampler")),
          viewPosition(glGetUniformLocation(p, "ViewPosition")),
          world(glGetUniformLocation(p, "World")),
          worldInverseTranspose(glGetUniformLocation(p, "WorldInverseTranspose")),
          worldViewProjection(glGetUniformLocation(p, "WorldViewProjection")),
          vertex(glGetAttribLocation(p, "Vertex")), texCoord(glGetAttribLocation(p, "TexCoord")),
          normal(glGetAttribLocation(p, "Normal")) {}
};

// One world of n cubes in a grid facing the camera, all sharing one
// material, one vertex array and one index array, each with its own
// transform and the one light in slot 0.
class Scene {
  public:
    explicit Scene(u32 n) {
        world = SceneGraph::createWorld("bench");
        camera = SceneGraph::createCamera("camera");
        const Rect& game = PlatformLayout().game;
        camera->setPerspectiveProjection(0.9f, static_cast<f32>(game.w) / game.h, 1.0f, 400.0f);
        world->attachChild(camera);
        world->setActiveCamera(camera);
        light = SceneGraph::createLight("sun", vec3(1, 0.9f, 0.8f), 1.2f);
        light->translate(30, 40, 50);
        world->attachChild(light);

        material =
            static_cast<MaterialPhong*>(SceneGraph::createMaterial(kMaterialDirectional, "lit", 0));
        std::vector<f32> vertices;
        std::vector<u16> indices;
        buildCube(vertices, indices);
        VertexArray* va =
            SceneGraph::createVertexArray("cube", vertices.data(), kFloatsPerVertex,
                                          static_cast<u32>(vertices.size() / kFloatsPerVertex), 0);
        va->setAttribute(0, 3, "Vertex");
        va->setAttribute(3, 2, "TexCoord");
        va->setAttribute(5, 3, "Normal");
        IndexArray* ia = SceneGraph::createIndexArray("cube", indices.data(),
                                                      static_cast<u32>(indices.size()), 0, 0);

        const u32 side = static_cast<u32>(std::ceil(std::sqrt(static_cast<f32>(n))));
        camera->translate(0, 0, 1.6f * side + 4);
        for (u32 i = 0; i < n; ++i) {
            TriangleMesh* mesh = SceneGraph::createTriangleMesh("cube", va, ia, material, true);
            mesh->translate(1.5f * (i % side) - 0.75f * (side - 1),
                            1.5f * (i / side) - 0.75f * (side - 1), 0);
            mesh->rotate(0.3f + 0.001f * i, 1, 1, 0);
            mesh->setLight(light, 0);
            world->attachChild(mesh);
            meshes.push_back(mesh);
        }
        SceneGraph::dereferenceResource(va);
        SceneGraph::dereferenceResource(ia);
    }
    ~Scene() {
        SceneGraph::deleteNode(world);
        SceneGraph::dereferenceResource(material);
    }

    World* world;
    Camera* camera;
    Light* light;
    MaterialPhong* material;
    std::vector<TriangleMesh*> meshes;
};

// The hand-written loop. It takes from the scene only what any program
// would have at hand: the program, the texture, the arrays, the material's
// colours and each object's placement. World matrices and their inverse
// transposes are kept (the objects do not move); the view-projection is
// applied per frame.
class HandLoop {
  public:
    HandLoop(const Scene& scene, const mat4& viewProjection)
        : program(scene.material->getProgram()->getProgramId()), at(program),
          texture(scene.material->getDiffuseTexture()->getId()) {
        const VertexArray* va = scene.meshes[0]->getVertexArray();
        const IndexArray* ia = scene.meshes[0]->getIndexArray();
        vertices = va->getArray();
        indices = ia->getArray();
        indexCount = static_cast<GLsizei>(ia->getCount());
        const Light* light = scene.light;
        lightVector = vec3(light->world.m[12], light->world.m[13], light->world.m[14]);
        lightVector = lightVector / lightVector.length();
        lightColor = light->getColor() * light->getIntensity();
        const Transformable* camera = scene.camera;
        viewPosition = vec3(-camera->world.m[12], -camera->world.m[13], -camera->world.m[14]);
        const MaterialPhong* m = scene.material;
        ambient = m->ambientColor;
        diffuse = m->diffuseColor;
        specular = m->specularColor;
        scalars[0] = m->shininess;
        scalars[1] = m->emissive;
        scalars[2] = m->specularLevel;
        this->viewProjection = viewProjection;
        for (const TriangleMesh* mesh : scene.meshes) {
            worlds.push_back(mesh->world);
            mat4 inverseTranspose = mesh->world;
            inverseTranspose.invert().transpose();
            inverseTransposes.push_back(inverseTranspose);
        }
    }

    void frame(bool lean) {
        begin();
        if (lean) {
            materialUniforms();
            attributes();
        }
        for (std::size_t i = 0; i < worlds.size(); ++i) {
            if (!lean) {
                materialUniforms();
            }
            mat4 wvp;
            viewProjection.multiply(wvp, worlds[i]);
            glUniformMatrix4fv(at.world, 1, GL_FALSE, worlds[i].m);
            glUniformMatrix4fv(at.worldInverseTranspose, 1, GL_FALSE, inverseTransposes[i].m);
            glUniformMatrix4fv(at.worldViewProjection, 1, GL_FALSE, wvp.m);
            if (!lean) {
                attributes();
            }
            glDrawElements(GL_TRIANGLES, indexCount, GL_UNSIGNED_SHORT, indices);
        }
    }

  private:
    // The viewport, clear and state of the world's frame.
    void begin() {
        const Rect& game = PlatformLayout().game;
        glViewport(game.x, game.y, game.w, game.h);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClearDepthf(1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ZERO);
        glDisable(GL_STENCIL_TEST);
        glDisable(GL_SCISSOR_TEST);
        glUseProgram(program);
    }

    void materialUniforms() {
        glUniform3fv(at.lightVector, 1, &lightVector.x);
        glUniform3fv(at.lightColor, 1, &lightColor.x);
        glUniform3fv(at.ambient, 1, &ambient.x);
        glUniform3fv(at.diffuse, 1, &diffuse.x);
        glUniform3fv(at.specular, 1, &specular.x);
        glUniform1fv(at.shininess, 1, &scalars[0]);
        glUniform1fv(at.emissive, 1, &scalars[1]);
        glUniform1fv(at.specularLevel, 1, &scalars[2]);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glUniform1i(at.sampler, 0);
        glUniform3fv(at.viewPosition, 1, &viewPosition.x);
    }

    void attributes() {
        const GLsizei stride = kFloatsPerVertex * sizeof(f32);
        glVertexAttribPointer(at.vertex, 3, GL_FLOAT, GL_FALSE, stride, vertices);
        glEnableVertexAttribArray(at.vertex);
        glVertexAttribPointer(at.texCoord, 2, GL_FLOAT, GL_FALSE, stride, vertices + 3);
        glEnableVertexAttribArray(at.texCoord);
        glVertexAttribPointer(at.normal, 3, GL_FLOAT, GL_FALSE, stride, vertices + 5);
        glEnableVertexAttribArray(at.normal);
    }

    GLuint program;
    Locations at;
    GLuint texture;
    const f32* vertices = nullptr;
    const u16* indices = nullptr;
    GLsizei indexCount = 0;
    vec3 lightVector, lightColor, viewPosition, ambient, diffuse, specular;
    f32 scalars[3] = {};
    mat4 viewProjection;
    std::vector<mat4> worlds;
    std::vector<mat4> inverseTransposes;
};

// Frames per second of draw() over about the given seconds.
template <typename Draw> double framesPerSecond(Draw draw, double seconds) {
    const Clock::time_point start = Clock::now();
    u32 frames = 0;
    double elapsed = 0;
    do {
        draw();
        glFinish();
        ++frames;
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < seconds);
    return frames / elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The game screen as RGBA bytes.
std::vector<u8> readScreen() {
    const Rect& game = PlatformLayout().game;
    std::vector<u8> rgba(static_cast<std::size_t>(game.w) * game.h * 4);
    glReadPixels(game.x, game.y, game.w, game.h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

i32 largestDifference(const std::vector<u8>& a, const std::vector<u8>& b) {
    i32 largest = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        largest = std::max(largest, std::abs(a[i] - b[i]));
    }
    return largest;
}

// Nanoseconds per glGetUniformLocation of a name the program declares and
// of one it does not: what each lookup would cost per mesh if it went to GL.
// The engine asks GL once per program and name and keeps the answer, the
// hand-written loops look their locations up once.
void lookupCost() {
    Scene scene(1);
    const GLuint program = scene.material->getProgram()->getProgramId();
    constexpr u32 kLookups = 200000;
    const char* names[2] = {"WorldViewProjection", "WorldViewInverse"};
    double ns[2];
    for (u32 k = 0; k < 2; ++k) {
        GLint sum = 0;
        const Clock::time_point start = Clock::now();
        for (u32 i = 0; i < kLookups; ++i) {
            sum += glGetUniformLocation(program, names[k]);
        }
        ns[k] = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kLookups;
        if (sum == 12345) {
            std::printf(" ");
        }
    }
    std::printf("uniform lookup by name: %.0f ns (declared), %.0f ns (not declared)\n", ns[0],
                ns[1]);
}

void measure(u32 n, double seconds) {
    Scene scene(n);
    FrameInput input = {};
    scene.world->drawAll(&input);
    glFinish();
    const std::vector<u8> engineImage = readScreen();
    HandLoop hand(scene, scene.world->getViewProjection());
    hand.frame(false);
    const std::vector<u8> handImage = readScreen();
    hand.frame(true);
    const std::vector<u8> leanImage = readScreen();

    std::vector<double> engine, same, lean;
    for (u32 round = 0; round < kRounds; ++round) {
        engine.push_back(framesPerSecond([&] { scene.world->drawAll(&input); }, seconds));
        same.push_back(framesPerSecond([&] { hand.frame(false); }, seconds));
        lean.push_back(framesPerSecond([&] { hand.frame(true); }, seconds));
    }
    const double e = median(engine);
    const double s = median(same);
    const double l = median(lean);
    std::printf("%6u %12.1f %12.1f %12.1f %10.2f %10.2f %8d %8d\n", n, e, s, l, s / e, l / e,
                largestDifference(engineImage, handImage),
                largestDifference(engineImage, leanImage));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "world_draw needs an X display (run it under xvfb-run)\n");
        return 1;
    }
    const double seconds = argc > 1 ? std::atof(argv[1]) : 0.5;
    OpenBenchWindow();
    toggleOrientation();
    SceneGraph::init();
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s; game screen %dx%d; %u rounds of %.2f s each, median\n",
                renderer != nullptr ? renderer : "?", PlatformLayout().game.w,
                PlatformLayout().game.h, kRounds, seconds);
    lookupCost();
    std::printf("picture: the largest channel difference of each hand loop's frame from the "
                "engine's\n");
    std::printf("%6s %12s %12s %12s %10s %10s %8s %8s\n", "meshes", "engine fps", "same fps",
                "lean fps", "same/eng", "lean/eng", "picture", "picture");
    if (argc > 2) {
        measure(static_cast<u32>(std::atoi(argv[2])), seconds);
    } else {
        for (u32 n : {100u, 1000u, 5000u}) {
            measure(n, seconds);
        }
    }
    SceneGraph::shutdown();
    return 0;
}
