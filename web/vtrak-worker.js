// Keeps every file the page needs, so that after one visit the game starts
// and plays without the network. The files are kept under a name made from
// their contents: a new build is a new worker with a cache of its own, filled
// whole before it takes over (from the next visit on, once no tab shows the
// old one), and the old cache goes then; a page is never served a mix.
'use strict';
const kept = 'vtrak-@CONTENTS@';
const files = [@FILES@];

self.addEventListener('install', (event) => {
  // Straight from the server, never from the browser's HTTP cache.
  event.waitUntil(caches.open(kept).then((cache) => cache.addAll(
      files.map((file) => new Request(file, {cache: 'reload'})))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys().then((names) => Promise.all(
      names.filter((name) => name.startsWith('vtrak-') && name !== kept)
          .map((name) => caches.delete(name)))));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  // The test hook's query leaves the page itself the same file.
  event.respondWith(caches.open(kept)
      .then((cache) => cache.match(request, {ignoreSearch: request.mode === 'navigate'}))
      .then((found) => found || fetch(request)));
});
