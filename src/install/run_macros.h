// The folders that the folder macros of a setup run stand for, taken from the program state
// and the run's setup folder. Resolution itself is the macro routines' job, not this file's.
#pragma once

#include "script/folder_macros.h"

namespace korvane {

class Program;

/// The macro folders of the current run (never fails; empty folders stay empty).
MacroFolders RunMacroFolders(const Program& program);

}  // namespace korvane
