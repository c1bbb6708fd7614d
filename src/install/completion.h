// Completion: failure report, the file or restart at the end, the completion box, finish.
#pragma once

#include <string>

namespace korvane {

class Program;

void Completion(Program\& program);

}  // namespace korvane
