#pragma once

namespace torvane {

// torvane-calc: comparisons without a window, one per CSV row. Reads the arguments, checks
// the whole input, then writes each row's outcome; returns the exit status.
int runBatchTool(int argc, char** argv);

} // namespace torvane
