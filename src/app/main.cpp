// The korvane executable: everything happens in KorvaneMain.
#include "app/commands.h"

int main(int argc, char** argv) { return korvane::KorvaneMain(argc, argv); }
