// The page's service worker: it keeps a copy of every file of the page, so that after one visit
// the page loads and plays without the network. stamp_worker.py writes the build into the two
// constants below when it copies this file next to the page: FILES, the page's files, and
// VERSION, a hash of them. A new build is therefore a new worker with a cache of its own; it takes
// over once no page of the old build is open any more (so one page never mixes the files of two
// builds), and then deletes the old build's cache.

const VERSION = "@VERSION@";
const FILES = ["@FILES@"];

// Cache names are shared by the whole origin; the scope in the name keeps copies of the page
// hosted in other folders of the same origin apart.
const PREFIX = "vorandel " + self.registration.scope + " ";
const CACHE = PREFIX + VERSION;

self.addEventListener("install", (event) => {
  // Straight from the server, past the browser's HTTP cache, so that the copy is all this build.
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" })))));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET") {
    return;
  }
  // The folder's own address is the page, whatever query it carries.
  const url = new URL(request.url);
  const page = request.mode === "navigate" && url.origin + url.pathname === self.registration.scope;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(page ? "index.html" : request))
    .then((copy) => copy || fetch(request)));
});
