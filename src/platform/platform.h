// The bundle of platform services that the core is handed. The core reaches the machine only
// through these; a test or a fault-injecting decorator may replace any one of them.
#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/lz.h"
#include "platform/module_loader.h"
#include "platform/profile_store.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace korvane {

struct Platform {
  FileSystem* files = nullptr;
  ProfileStore* profiles = nullptr;
  System* system = nullptr;
  Clock* clock = nullptr;
  Registry* registry = nullptr;
  LzExpander* lz = nullptr;
  ModuleLoader* modules = nullptr;
  Shell* shell = nullptr;
};

}  // namespace korvane
