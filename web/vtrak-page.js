// The page around the game: what a desktop gives a program before it starts
// (one copy at a time, the program's folder with its music and its face) and
// what a browser asks of a page (a gesture before sound, keys that do not
// scroll), then the program itself, which runs from the browser's animation
// frame. Whatever keeps the game from starting or stops it is said under the
// game, in a player's words.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const status = document.getElementById('status');
  const touch = navigator.maxTouchPoints > 0;
  const playLine = touch ? 'Tap the game (or Z) to jump; after a miss, tap (or X) to start again.'
                         : 'Z jumps, X restarts after a miss.';
  // Lines that stay in front of whatever the page says next (a missing face, the pace).
  const notes = [];
  let line = '';
  let stopped = false;
  const say = (text) => {
    line = text;
    if (!stopped) status.textContent = notes.concat(text ? [text] : []).join(' ');
  };
  // The game cannot go on: said once, in the words of the first failure.
  const stop = (text) => {
    if (stopped) return;
    notes.length = 0;
    say(text);
    stopped = true;
  };
  const cannotLoad = (what) => stop(`V-TRAK could not load ${what}; reload the page.`);
  const crashed = (what) => {
    stop(`V-TRAK stopped: its program failed (${what}); reload the page to play again.`);
  };
  // A trap, an abort or an exhausted stack of the program's, or an error in its
  // own script; others' errors (a refused sound start, say) are not a crash.
  const fatal = (error, file) => typeof WebAssembly === 'object' &&
      error instanceof WebAssembly.RuntimeError ||
      error instanceof RangeError || /vtrak\.js$/.test(file || '');
  window.addEventListener('error', (event) => {
    if (!fatal(event.error, event.filename)) return;
    crashed(String(event.message || event.error).replace(/^Uncaught (\w*Error: )?/, ''));
  });
  window.addEventListener('unhandledrejection', (event) => {
    if (fatal(event.reason)) crashed(String(event.reason.message || event.reason));
  });

  // The browser readies its sound output the first time a page asks for it,
  // which takes a good part of a second: asked now, that is done while the
  // program loads rather than while it starts.
  const warmUp = typeof AudioContext === 'function' ? new AudioContext() : null;

  // A run travels in a link's fragment, index.html#run=RECORD, which no server
  // sees: the record's text with a space as '.', a line's end as '~' and
  // anything else a link does not carry plainly as %XX. Such a page replays
  // the run, not a game of the player's, and says so.
  const runLink = (text) => '#run=' + encodeURIComponent(text)
      .replace(/[.~]/g, (c) => '%' + c.charCodeAt(0).toString(16).toUpperCase())
      .replace(/%20/g, '.').replace(/%0A/g, '~');
  const linkedRun = (() => {
    if (!location.hash.startsWith('#run=')) return null;
    try {
      return decodeURIComponent(location.hash.slice(5).replace(/\./g, '%20').replace(/~/g, '%0A'));
    } catch (error) {  // a broken escape: a run that cannot be read, said as such
      return '';
    }
  })();
  let runLine = playLine;
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

  // The face, fetched beside the program. Without it the game runs as on a
  // desktop that lacks its fonts, only its words are not drawn.
  const faceFile = 'face/vtrak-pgothic.ttf';
  const face = fetch(faceFile)
      .then((response) => response.ok ? response.arrayBuffer() : null)
      .then((bytes) => bytes && new Uint8Array(bytes), () => null);

  // The program's messages go to the console; its error lines to the page as well.
  const printErr = (text) => {
    console.error(text);
    if (text.startsWith('vtrak:')) say(text.replace(/^vtrak: /, ''));
  };

  // Sound starts at the first key or tap (the browser's rule); until then the page says so.
  function watchTheMusic() {
    const context = typeof AL !== 'undefined' && AL.currentCtx && AL.currentCtx.audioCtx;
    if (!context) {
      say(runLine + ' (This browser gives the page no sound.)');
      return;
    }
    const ask = touch ? 'Tap the game or press a key to start the music. '
                      : 'Press a key or click to start the music. ';
    const show = () => say(context.state === 'running' ? runLine : ask + runLine);
    context.addEventListener('statechange', show);
    show();
  }

  function start(faceBytes) {
    const anotherCopy = locks[lockName] === 'taken';
    if (faceBytes) {
      Module.FS.writeFile('/' + faceFile, faceBytes);
    } else {
      notes.push(`V-TRAK could not load its lettering (${faceFile}), so the game plays ` +
                 'without its words; reload the page to have them.');
    }
    // The music is composed in the page, by the generator the build uses.
    if (!anotherCopy && !Module._vtrak_compose_music()) {
      console.error('vtrak: the music could not be composed; the game plays silently');
    }
    const replay = linkedRun !== null && !anotherCopy ? runScore('/run.vtrak', linkedRun) : null;
    if (replay !== null && replay < 0) {
      notes.push('This link’s run cannot be read (it is cut short or altered), so the game ' +
                 'plays as usual.');
    } else if (replay !== null) {
      runLine = `A recorded run: ${replay} pts. Tap or press X to play.`;
    }
    const kept = remember('vtrak.best');
    const keptScore = kept ? runScore('/best.vtrak', kept) : -1;
    if (keptScore >= 0) best = {text: kept, score: keptScore};
    showRuns();
    say('');
    Module.callMain(replay !== null && replay >= 0 ? ['--replay', '/run.vtrak'] : []);
    if (warmUp) warmUp.close();
    if (anotherCopy) {
      say('V-TRAK is open in another tab of this browser.');
    } else if (line === '') {  // no error line from the start-up
      watchTheMusic();
    }
  }

  // The program's own file, checked before it is compiled: a missing or broken
  // one is said as such.
  function instantiate(imports, receive) {
    const compile = (response) => {
      const copy = response.clone();
      return WebAssembly.instantiateStreaming(response, imports).catch(() => copy.arrayBuffer()
          .then((bytes) => WebAssembly.instantiate(bytes, imports)));
    };
    fetch('vtrak.wasm')
        .then((response) => {
          if (!response.ok) throw new Error(response.statusText);
          return compile(response);
        })
        .then((result) => receive(result.instance, result.module),
              () => cannotLoad('its program (vtrak.wasm)'));
    return {};
  }

  // The usual pace: 60 steps a second whatever the display's refresh, as the
  // desktop's --rate 60, remembered for the next visit. The program reads the
  // rate every frame, and hands over a refresh that is far from 60 a second.
  const pace = document.getElementById('pace');
  const paceBox = pace.querySelector('input');
  const remember = (key, value) => {
    try {
      if (value === undefined) return localStorage.getItem(key);
      localStorage.setItem(key, value);
    } catch (error) {  // storage refused: the choice lasts this visit
    }
    return null;
  };
  paceBox.checked = remember('vtrak.rate') === '60';
  paceBox.addEventListener('change', () => {
    Module.vtrakRate = paceBox.checked ? 60 : 0;
    remember('vtrak.rate', String(Module.vtrakRate));
    paceBox.blur();  // Space and the game's keys go to the game again
  });
  const offPace = (refreshHz, times) => {
    notes.push(`This display shows ${refreshHz} frames a second and the game steps once a ` +
               `frame, so it plays ${times.toFixed(2)} times its usual pace; tick ` +
               '“Usual pace” to play at 60 steps a second.');
    pace.classList.add('offered');
    say(line);
  };

  // The runs: each as it ends; the best of this browser's own kept (for this
  // visit only when storage is refused) and its score shown under the game;
  // after a miss a link to replay the run just played and one to the best. Runs are read as the
  // program reads them: a file in its folder, checked by its own reader.
  const runScore = (path, text) => {
    Module.FS.writeFile(path, text);
    return Module.ccall('vtrak_run_score', 'number', ['string'], [path]);
  };
  const bestLine = document.getElementById('best');
  const links = document.getElementById('links');
  let best = null, last = null;
  const linkTo = (words, run) => {
    const link = document.createElement('a');
    link.href = runLink(run.text);
    link.textContent = `${words} (${run.score} pts.)`;
    // The same fragment again is no change of address: the page is opened anew all the same.
    link.addEventListener('click', (event) => {
      if (link.hash !== location.hash) return;
      event.preventDefault();
      location.reload();
    });
    return link;
  };
  function showRuns() {
    bestLine.textContent = best ? `Best: ${best.score} pts.` : '';
    bestLine.parentNode.hidden = !best && !last;
    const offered = last ? [linkTo('Replay the run just played', last)] : [];
    if (last && best) offered.push(' · ', linkTo('your best', best));
    links.replaceChildren(...offered);
  }
  const runEnded = (text, score, replayed) => {
    last = {text: text, score: score};
    if (!replayed && (!best || score > best.score)) {
      best = last;
      remember('vtrak.best', text);
    }
    showRuns();
  };
  // Another run in the address: the page is opened anew on it.
  window.addEventListener('hashchange', () => location.reload());
  // The replayed run is over and its last picture holds: X or a tap goes on,
  // after a miss as after any (the same X restarts), else with a game of the
  // page's own.
  const goOn = () => {
    if (Module.vtrakHeld === 'miss') {
      Module.vtrakHeld = '';
      runLine = playLine;
      say(runLine);
    } else if (Module.vtrakHeld === 'still') {
      history.replaceState(null, '', location.pathname + location.search);
      location.reload();
    }
  };
  window.addEventListener('keydown', (event) => {
    if (event.code === 'KeyX') goOn();
  });
  canvas.addEventListener('touchstart', () => {
    if (Module.vtrakHeld === 'still') goOn();
  });

  window.Module = {
    canvas: canvas,
    vtrakRunEnded: runEnded,
    vtrakLocks: locks,
    vtrakRate: paceBox.checked ? 60 : 0,
    vtrakOffPace: offPace,
    print: (text) => console.log(text),
    printErr: printErr,
    instantiateWasm: instantiate,
    onAbort: (what) => crashed(what === 'OOM' ? 'out of memory' : String(what || 'abort')),
    preRun: [() => {
      Module.FS.mkdir('/face');
      Module.FS.mkdir('/data');
    }],
    onRuntimeInitialized: () => {
      Promise.all([lockDecided, face]).then((settled) => start(settled[1]));
    },
  };
  if (typeof WebAssembly !== 'object') {
    stop('This browser cannot run V-TRAK: it has no WebAssembly.');
  } else {
    const program = document.createElement('script');
    program.src = 'vtrak.js';
    program.async = true;
    program.onerror = () => cannotLoad('its program (vtrak.js)');
    document.body.appendChild(program);
  }

  // The files the page needs are kept by the browser after the first visit,
  // so that the game starts and plays without the network.
  if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('vtrak-worker.js').catch((error) => {
      console.error('vtrak: the page cannot be kept for playing offline: ' + error.message);
    });
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
