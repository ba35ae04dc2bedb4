// Generate.h: the whole data generator as one call, used by the kvrdatagen
// program (the shipped build and the test fixtures) and by tests.
#pragma once

#include <string>

#include "tools/datagen/Builders.h"
#include "tools/datagen/Model.h"

namespace datagen {

// The files every generation writes.
extern const char* const kGeneratedFiles[];
extern const int kGeneratedFileCount;

// Builds every data file from the sources and checks the invariants. On
// success `files` holds every image and the result is true; any broken
// invariant or unreadable required source gives false with the reasons in
// report.errors. floors drop rarer phrases (zero floors keep all).
bool GenerateFiles(const Options& opt, const PhraseFloors& floors, FileSet& files, Report& report);

// Writes the images into opt.outDir, each through a temporary file renamed
// over the old one. False with a message on the first failure.
bool WriteFiles(const std::string& outDir, const FileSet& files, std::string& error);

}  // namespace datagen
