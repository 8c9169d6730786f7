#pragma once
// The shell's record of the four long-lived objects the game is made of.
namespace vtrak {

struct Canvas;
struct InputState;
struct SoundBank;
struct Game;

struct App {
  Canvas* canvas;        // filled by the shell
  InputState* input;     // filled by the shell
  SoundBank* soundBank;  // filled by CreateGame
  Game* game;            // filled by CreateGame
};

}  // namespace vtrak
