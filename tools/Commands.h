#pragma once
// The sub-commands of the pagepress tool. Each takes the arguments after its name and
// returns the process exit code.
#include <string>
#include <vector>

using TArguments = std::vector<std::string>;

int SampleCommand(const TArguments& Args);
int DumpCommand(const TArguments& Args);
int ConvertCommand(const TArguments& Args);
int FormatsCommand(const TArguments& Args);
