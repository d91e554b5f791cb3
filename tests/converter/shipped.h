#pragma once

// Conversions as a user runs them beside the shipped "rules.txt", and their
// output.
#include "pwnfile.h"
#include "runner.h"

#include <string>
#include <vector>

// Converts input to "out.pwn" in a new directory holding the shipped rules.
MeshwrightRun ConvertWithShippedRules(const std::string& input);
// The same for an input file named name that holds text.
MeshwrightRun ConvertTextWithShippedRules(const std::string& name, const std::string& text);

// The run's "out.pwn" (a test failure when it cannot be read).
PwnFile ReadOutput(const MeshwrightRun& run, const std::string& name = "out.pwn");

// Converts the fixture name into run, which must end with status 0, and
// gives its output.
PwnFile ConvertFixture(const std::string& name, MeshwrightRun& run);

// True when the run printed text on standard output.
bool Printed(const MeshwrightRun& run, const std::string& text);

// The lines of standard output that begin with "Warning", in order.
std::vector<std::string> Warnings(const MeshwrightRun& run);

// The warnings of a document whose <asset> says Z_UP, and of one whose unit is
// the centimetre.
extern const std::string kZUpWarning;
extern const std::string kCentimetreWarning;
