// Taps as keys. A finger on the game holds Z while the run goes on and X once
// it is over (a tap then starts a new one), sent as the browser's own keyboard
// events, so the program sees the same key state and hold counters as for a
// key and every rule of the keys holds. A tap shorter than a frame is held
// until one step has seen it. The keyboard's Z or X and a finger on the same
// key make one press, let go when both are. Sound starts at the first tap
// too: some engines allow it only as the finger lifts.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const keys = {KeyZ: {board: false, holds: 0}, KeyX: {board: false, holds: 0}};
  const send = (code, down) => {
    window.dispatchEvent(new KeyboardEvent(down ? 'keydown' : 'keyup',
                                           {code: code, key: code === 'KeyZ' ? 'z' : 'x'}));
  };
  const steps = () => window.Module && Module.vtrakSteps || 0;

  // The keyboard's own presses come first: a release while a finger holds the
  // same key is kept from the program.
  const board = (event) => {
    const key = keys[event.code];
    if (!key || !event.isTrusted) return;
    key.board = event.type === 'keydown';
    if (!key.board && key.holds > 0) event.stopImmediatePropagation();
  };
  window.addEventListener('keydown', board, true);
  window.addEventListener('keyup', board, true);

  const fingers = new Map();  // touch identifier -> the key it holds and the step it began at
  canvas.addEventListener('touchstart', (event) => {
    event.preventDefault();  // no zoom, scroll, selection or mouse events of the browser's
    for (const finger of event.changedTouches) {
      const code = window.Module && Module.vtrakDead ? 'KeyX' : 'KeyZ';
      fingers.set(finger.identifier, {code: code, step: steps()});
      if (keys[code].holds++ === 0 && !keys[code].board) send(code, true);
    }
  }, {passive: false});

  const lift = (event) => {
    event.preventDefault();
    for (const finger of event.changedTouches) {
      const held = fingers.get(finger.identifier);
      if (!held) continue;
      fingers.delete(finger.identifier);
      let frames = 0;  // a game that makes no steps (a scripted run held still) is not waited for
      const release = () => {
        if (steps() === held.step && ++frames < 30) {
          requestAnimationFrame(release);
        } else if (--keys[held.code].holds === 0 && !keys[held.code].board) {
          send(held.code, false);
        }
      };
      release();
    }
  };
  canvas.addEventListener('touchend', lift, {passive: false});
  canvas.addEventListener('touchcancel', lift, {passive: false});
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // The program's sound waits for a gesture; each kind of gesture may start it.
  const startSound = () => {
    const context = typeof AL !== 'undefined' && AL.currentCtx && AL.currentCtx.audioCtx;
    if (context && context.state === 'suspended') context.resume().catch(() => {});
  };
  for (const type of ['touchend', 'pointerup', 'mousedown', 'keydown']) {
    document.addEventListener(type, startSound, true);
  }
})();
