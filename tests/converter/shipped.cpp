#include "shipped.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string rulesDir() {
    std::string dir = MakeScratchDir();
    WriteText(dir + "/rules.txt", ReadFileText(SHIPPED_RULES));
    return dir;
}

} // namespace

MeshwrightRun ConvertWithShippedRules(const std::string& input) {
    return RunMeshwright({input, "out.pwn"}, rulesDir());
}

MeshwrightRun ConvertTextWithShippedRules(const std::string& name, const std::string& text) {
    std::string dir = rulesDir();
    WriteText(dir + "/" + name, text);
    return RunMeshwright({name, "out.pwn"}, dir);
}

PwnFile ReadOutput(const MeshwrightRun& run, const std::string& name) {
    std::string error;
    std::optional<PwnFile> file = ReadPwn(run.path(name), error);
    EXPECT_TRUE(file) << error;
    return file.value_or(PwnFile{});
}

PwnFile ConvertFixture(const std::string& name, MeshwrightRun& run) {
    run = ConvertWithShippedRules(Fixture(name));
    EXPECT_EQ(run.status, 0) << name << ": " << run.out;
    return run.status == 0 ? ReadOutput(run) : PwnFile{};
}

bool Printed(const MeshwrightRun& run, const std::string& text) {
    return run.out.find(text) != std::string::npos;
}

std::vector<std::string> Warnings(const MeshwrightRun& run) {
    std::vector<std::string> lines;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) {
        if (line.rfind("Warning", 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

const std::string kZUpWarning = "Warning: the document's up axis is Z_UP, not Y_UP; its "
                                "coordinates were written as the document holds them, not "
                                "turned Y-up";
const std::string kCentimetreWarning = "Warning: the document's unit is 0.01 metres "
                                       "(centimeter), not 1 metre; its coordinates were written "
                                       "as the document holds them, not scaled to metres";
