// Completion: failure report, the file or restart at the end, the completion box, finish.
#pragma once

#include <string>

namespace korvane {

class Program;

/// Runs to its end once begun; ends with the finish operation.
void Completion(Program& program);

}  // namespace korvane
