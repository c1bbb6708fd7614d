// COM self-registration of copied files, and the DLL/OCX name test.
#pragma once

#include <string>

namespace korvane {

class Program;
struct Platform;

/// Loads the file and calls its DllRegisterServer: true only when it returned 0; otherwise
/// one of the three messages was shown.
bool RegisterOcxDll(Program& program, const std::string& path);
/// The upper-cased text contains ".OCX" or ".DLL" anywhere.
bool IsOcxOrDll(const Platform& platform, const std::string& name);

}  // namespace korvane
