// Every registered model, written as the COLLADA document Meshwright converts.
#include "models.h"

namespace {

bool writeAll(const std::vector<MeshModel>& models, const std::string& dir) {
    bool ok = true;
    for (const MeshModel& model : models) {
        ok = WriteColladaModel(model, dir + "/" + model.file + ".dae") && ok;
    }
    return ok;
}

} // namespace

bool WriteModels(const std::string& dir) {
    return writeAll(GolfModels(), dir);
}

bool WriteTestModels(const std::string& dir) {
    return writeAll(TestModels(), dir);
}
