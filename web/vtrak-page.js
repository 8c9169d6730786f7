// The page around the game: what a desktop gives a program before it starts
// (one copy at a time, the program's folder with its music and its face) and
// what a browser asks of a page (a gesture before sound, keys that do not
// scroll), then the program itself, which runs from the browser's animation
// frame.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const say = (text) => { status.textContent = text; };
  const keysLine = 'Z jumps, X restarts after a miss.';
  // The browser readies its sound output the first time a page asks for it,
  // which takes a good part of a second: asked now, that is done while the
  // program loads rather than while it starts.
  const warmUp = typeof AudioContext === 'function' ? new AudioContext() : null;

  // The test hook, index.html?seed=N&keys=LIST&steps=N: the simulator's options.
  const query = new URLSearchParams(location.search);
  const hook = [];
  for (const name of ['seed', 'keys', 'steps']) {
    if (query.has(name)) hook.push('--' + name, query.get(name));
  }

  // One copy: a Web Lock named after the game's window class, taken before the
  // program starts and held while the page is open. A second tab finds it taken.
  const lockName = 'dolk';
  const locks = {};
  const lockDecided = !navigator.locks ? Promise.resolve() : new Promise((resolve) => {
    navigator.locks.request(lockName, {ifAvailable: true}, (lock) => {
      locks[lockName] = lock ? 'held' : 'taken';
      resolve();
      return lock ? new Promise(() => {}) : undefined;
    });
  });

  // The program's messages go to the console; its error lines to the page as well.
  const printErr = (text) => {
    console.error(text);
    if (text.startsWith('vtrak:')) say(text.replace(/^vtrak: /, ''));
  };

  // Sound starts at the first key or click (the browser's rule); until then the page says so.
  function watchTheMusic() {
    const context = typeof AL !== 'undefined' && AL.currentCtx && AL.currentCtx.audioCtx;
    if (!context) {
      say(keysLine + ' (This browser gives the page no sound.)');
      return;
    }
    const show = () => {
      say(context.state === 'running' ? keysLine
                                      : 'Press a key or click to start the music. ' + keysLine);
    };
    context.addEventListener('statechange', show);
    show();
  }

  function start() {
    const anotherCopy = locks[lockName] === 'taken';
    // The music is composed in the page, by the generator the build uses.
    if (!anotherCopy && !Module._vtrak_compose_music()) {
      console.error('vtrak: the music could not be composed; the game plays silently');
    }
    say('');
    Module.callMain([]);
    if (warmUp) warmUp.close();
    if (anotherCopy) {
      say('V-TRAK is open in another tab of this browser.');
    } else if (status.textContent === '') {  // no error line from the start-up
      watchTheMusic();
    }
  }

  window.Module = {
    canvas: canvas,
    vtrakHook: hook,
    vtrakLocks: locks,
    print: (text) => console.log(text),
    printErr: printErr,
    onAbort: (what) => say('V-TRAK stopped: ' + what),
    preRun: [() => {
      Module.FS.mkdir('/face');
      Module.FS.mkdir('/data');
      Module.FS.createPreloadedFile('/face', 'vtrak-pgothic.ttf', 'face/vtrak-pgothic.ttf',
                                    true, false);
    }],
    onRuntimeInitialized: () => { lockDecided.then(start); },
  };
  if (typeof WebAssembly !== 'object') {
    say('This browser cannot run V-TRAK: it has no WebAssembly.');
  }

  // The game's keys, and the others, never scroll the page.
  const scrollKeys = new Set(['Space', 'ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight',
                              'PageUp', 'PageDown', 'Home', 'End']);
  window.addEventListener('keydown', (event) => {
    if (scrollKeys.has(event.code)) event.preventDefault();
  });

  // A file dropped on the canvas is noted as the requested file, as on a desktop.
  canvas.addEventListener('dragover', (event) => event.preventDefault());
  canvas.addEventListener('drop', (event) => {
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file && Module.ccall) Module.ccall('vtrak_drop_file', null, ['string'], [file.name]);
  });
})();
