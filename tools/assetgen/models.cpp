// Every registered model, written as the COLLADA document Meshwright converts.
#include "models.h"

#include <cstdio>
#include <set>

namespace {

// Every program's models; a program adds its function here.
std::vector<MeshModel> (*const kProgramModels[])() = {
    GolfModels,
    OgreblastModels,
    PlanetRunModels,
    TowerDefenceModels,
};

// False, with a message, when seen already holds the name.
bool fresh(std::set<std::string>& seen, const std::string& name, const char* kind,
           const MeshModel& model) {
    if (seen.insert(name).second) {
        return true;
    }
    std::fprintf(stderr, "assetgen: model %s repeats the %s name %s\n", model.file.c_str(), kind,
                 name.c_str());
    return false;
}

// Games load their models with unique names off, so no two models may share
// a file, a mesh or a material name (the parts of one model may share a
// material).
bool namesApart(const std::vector<MeshModel>& models) {
    std::set<std::string> files, meshes, materials;
    bool ok = true;
    for (const MeshModel& model : models) {
        ok = fresh(files, model.file, "file", model) && ok;
        std::set<std::string> own;
        for (const MeshPart& part : model.parts) {
            ok = fresh(meshes, part.name, "mesh", model) && ok;
            if (own.insert(part.material).second) {
                ok = fresh(materials, part.material, "material", model) && ok;
            }
        }
    }
    return ok;
}

bool writeAll(const std::vector<MeshModel>& models, const std::string& dir) {
    bool ok = namesApart(models);
    for (const MeshModel& model : models) {
        ok = ok && WriteColladaModel(model, dir + "/" + model.file + ".dae");
    }
    return ok;
}

} // namespace

bool WriteModels(const std::string& dir) {
    std::vector<MeshModel> models;
    for (auto programModels : kProgramModels) {
        std::vector<MeshModel> more = programModels();
        models.insert(models.end(), more.begin(), more.end());
    }
    return writeAll(models, dir);
}

bool WriteTestModels(const std::string& dir) {
    return writeAll(TestModels(), dir);
}
