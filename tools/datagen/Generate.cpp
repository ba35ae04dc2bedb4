#include "tools/datagen/Generate.h"

#include <cstdio>
#include <memory>

#include "engine/formats/CharDictFormat.h"

namespace datagen {

const char* const kGeneratedFiles[] = {"CiZuFlat.igb",  "pycizudic.idx", "py2_3ZiCi1stZuMu.idx",
                                       "pxcizudic.idx", "chdicres.bin",  "pykeys.dic",
                                       "gbkflat.dic",   "ch2pypz1.bin",  "ch2pypz2.bin",
                                       "ch2key.bin",    "ch2py.bin",     "chndic2.bin",
                                       "sort.dic",      "py_1key.dic",   "bihuaku.bin",
                                       "gbk2b5.bin",    "b5gbk.bin",     "vmodewords.dic"};
const int kGeneratedFileCount =
    static_cast<int>(sizeof kGeneratedFiles / sizeof kGeneratedFiles[0]);

namespace {

// The engine refuses these lists below 100 bytes; a tiny list (a fixture)
// is grown with zero bytes after its end, which every reader stops at.
void PadToLoaderMinimum(FileSet& files) {
  for (const char* name : {"pykeys.dic", "gbkflat.dic", "chdicres.bin"}) {
    std::string& img = files[name];
    if (img.size() < chardict::kMinFileBytes) img.resize(chardict::kMinFileBytes, '\0');
  }
}

struct FileClose {
  void operator()(FILE* f) const { std::fclose(f); }
};

}  // namespace

bool GenerateFiles(const Options& opt, const PhraseFloors& floors, FileSet& files, Report& report) {
  Inputs in;
  std::string error;
  if (!LoadInputs(opt, in, error)) {
    report.errors.push_back(error);
    return false;
  }
  Model model;
  if (!model.Build(in, error)) {
    report.errors.push_back(error);
    return false;
  }
  BuildPinyinCharFiles(model, files, report);
  BuildShapeCodeFiles(model, files, report);
  BuildPhraseFiles(model, floors, files, report);
  BuildBig5Files(in, files, report);
  BuildVModeFile(in, files, report);
  PadToLoaderMinimum(files);
  CheckInvariants(files, report);
  return report.errors.empty();
}

bool WriteFiles(const std::string& outDir, const FileSet& files, std::string& error) {
  for (const auto& kv : files) {
    const std::string path = outDir + "/" + kv.first;
    const std::string tmp = path + ".tmp";
    {
      std::unique_ptr<FILE, FileClose> f(std::fopen(tmp.c_str(), "wb"));
      if (!f || std::fwrite(kv.second.data(), 1, kv.second.size(), f.get()) != kv.second.size() ||
          std::fflush(f.get()) != 0) {
        error = "cannot write " + tmp;
        std::remove(tmp.c_str());
        return false;
      }
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
      error = "cannot rename " + tmp + " to " + path;
      std::remove(tmp.c_str());
      return false;
    }
  }
  return true;
}

}  // namespace datagen
