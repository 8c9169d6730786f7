// The game's size on the page: the canvas keeps its 640 by 480 pixels and is
// only drawn larger or smaller. Where the window holds the game at full size,
// it is shown at the largest whole number of CSS pixels per game pixel, as the
// desktop's window is scaled; where it does not (a phone, upright or on its
// side), it takes the largest 4:3 box the window allows. The words go below
// the game, or beside it where that leaves the game larger. Done again at
// every resize and rotation; the page itself never scrolls.
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const main = canvas.parentElement;
  const panel = document.getElementById('panel');
  const kWidth = 640, kHeight = 480;
  // Room kept for the words: two lines below the game (more scroll within
  // their box), or a column beside it.
  const kBelow = 72, kBeside = 240;

  const scaleFor = (width, height) => {
    const fit = Math.min(width / kWidth, height / kHeight);
    return fit >= 1 ? Math.floor(fit) : fit;
  };

  function fit() {
    const width = document.documentElement.clientWidth;
    const height = document.documentElement.clientHeight;
    const below = scaleFor(width, height - kBelow);
    const beside = scaleFor(width - kBeside, height);
    const scale = Math.max(0.1, beside > below ? beside : below);
    main.classList.toggle('beside', beside > below);
    canvas.style.width = kWidth * scale + 'px';
    canvas.style.height = kHeight * scale + 'px';
    panel.style.maxHeight = (beside > below ? height : height - kHeight * scale) + 'px';
    snap();
  }

  // Centred, the canvas can start between two device pixels, and an engine
  // then draws it resampled (Firefox does), so that no game pixel is a solid
  // square: it is moved onto whole device pixels, again whenever the words
  // beside it change their size. Moved by a relative offset, not a
  // transform: WebKit draws a transformed canvas from its own rounded place
  // and resamples it by the fraction.
  function snap() {
    canvas.style.left = canvas.style.top = '';
    const box = canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    canvas.style.left = Math.round(box.left * ratio) / ratio - box.left + 'px';
    canvas.style.top = Math.round(box.top * ratio) / ratio - box.top + 'px';
  }

  if (typeof ResizeObserver === 'function') new ResizeObserver(snap).observe(panel);
  window.addEventListener('resize', fit);
  window.addEventListener('orientationchange', fit);
  if (window.visualViewport) window.visualViewport.addEventListener('resize', fit);
  fit();
})();
