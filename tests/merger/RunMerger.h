// The merger tests' first names for the program runner, kept while tests written against them
// are merged; new tests use support/Programs.h.
#pragma once

#include "support/Programs.h"

namespace testing_support {

using MergerRun = ProgramRun;
using MergerProcess = StartedProgram;
inline StartedProgram startMerger(const std::string& program, const std::vector<std::string>& args,
                                  const std::string& workFolder, const std::string& display = {},
                                  const std::vector<std::string>& extraEnv = {}) {
  return startProgram(program, args, workFolder, display, extraEnv);
}
inline ProgramRun runMerger(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workFolder, const std::string& display = {},
                            const std::vector<std::string>& extraEnv = {}) {
  return runProgram(program, args, workFolder, display, extraEnv);
}

}  // namespace testing_support
