// torvane-calc: comparisons without a window, one per CSV row.

#include "cli/batch_tool.h"

int main(int argc, char** argv)
{
    return torvane::runBatchTool(argc, argv);
}
