// Keeps the page's own files for play without a network, in one cache per build of the game.
// The build writes in the cache's name (the game's version and a digest of the files) and the
// list of files it made. A page is answered from one cache only, so it never mixes the files of
// two builds (new JavaScript with old WebAssembly): a new build is fetched whole into a cache of
// its own while the old one still serves, and it takes over, deleting the old caches, only once
// no page of the old one is open. Nothing of the player's is kept.
"use strict";

const CACHE = "@CACHE_NAME@";
const FILES = @FILES@;

self.addEventListener("install", (event) => {
  // All or nothing: one file that cannot be fetched fails the install and the old build stays.
  // Past the browser's own cache, which may still hold files of the old build.
  const fresh = FILES.map((file) => new Request(file, { cache: "reload" }));
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(fresh)));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys().then((names) =>
    Promise.all(names.filter((name) => name !== CACHE).map((name) => caches.delete(name)))));
});

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  // The folder itself is the page.
  const url = new URL(event.request.url);
  const isFolder = url.pathname === new URL(self.registration.scope).pathname;
  const request = event.request.mode === "navigate" && isFolder ? "index.html" : event.request;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((cached) => cached || fetch(event.request)));
});
