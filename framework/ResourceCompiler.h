// ResourceCompiler.h: the application object's resource compiler, seen from
// the framework. The compiler itself (CRcCmplr) belongs to the controls
// subsystem above the framework; the application class creates it and hands
// it to CWinApp::SetResourceCompiler, and the framework reaches it only
// through this interface: CWinApp::InitApplication compiles the program's
// script, and the image loading looks resource ids up in its tables.
#pragma once

class AMapStringToString;

class IResourceCompiler {
 public:
  virtual ~IResourceCompiler() = default;
  // Compiles the resource script at path into the tables.
  virtual int LoadGuiResFromRC(const char* path) = 0;
  // Writes the compiled tables under the program directory's "res/".
  virtual int SaveGuiRes() = 0;
  // Decimal resource id -> image file name, for bitmaps and for icons.
  // Null while the compiler has no such table.
  virtual const AMapStringToString* GetBitmapTable() const = 0;
  virtual const AMapStringToString* GetIconTable() const = 0;
};
