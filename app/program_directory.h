#pragma once
// Makes the folder of the running program the working directory, so that
// "bgm.wav" and "data/" resolve beside it. Found through the real executable
// path, so a symlinked launcher works.
namespace vtrak {

// False when the folder could not be found or entered (nothing else changes).
bool EnterProgramDirectory();

}  // namespace vtrak
