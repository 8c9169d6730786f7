#pragma once
// The sub-commands of vtrak-tool. Each takes the arguments after its own name
// and returns the process's exit status.

namespace vtrak::tool {

int RunSimCommand(int argc, char** argv);
int RunSoundCommand(int argc, char** argv);
int RunMessageCommand(int argc, char** argv);
int RunDisplayCommand(int argc, char** argv);

}  // namespace vtrak::tool
