#include "map/map_tool.h"

int main(int argc, char** argv) { return RunMapTool(argc, argv); }
