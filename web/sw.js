// The service worker: keeps every file of the page in a cache of its own,
// so that after one visit the page loads and computes with the network off,
// and later loads skip the network. The build writes in the list of files
// and the cache's name, a digest of their contents: a changed page gets a
// new cache, and the old one is dropped once the new one is complete.
const CACHE = 'zelvorn-odds-@ZELVORN_PAGE_DIGEST@';
const PAGE_FILES = [@ZELVORN_PAGE_FILES@];

// The page's files as absolute addresses, and the address of the page
// itself, which a navigation to the folder also means.
const scope = self.registration.scope;
const kept = new Set(PAGE_FILES.map((file) => new URL(file, scope).href));
const pageUrl = new URL('index.html', scope).href;

self.addEventListener('install', (event) => {
  // Fetched afresh, not from the HTTP cache, so that the files kept are
  // those the digest names.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(PAGE_FILES.map((file) => new Request(file, {cache: 'reload'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith('zelvorn-odds-') && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The file kept for a request, or undefined: the query and the fragment
// of the address (the page's own, for the combat) do not matter.
function keptFile(request) {
  if (request.method !== 'GET') return undefined;
  const url = new URL(request.url);
  url.search = '';
  url.hash = '';
  if (request.mode === 'navigate' && url.href === scope) return pageUrl;
  return kept.has(url.href) ? url.href : undefined;
}

self.addEventListener('fetch', (event) => {
  const file = keptFile(event.request);
  if (file === undefined) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(file))
    .then((response) => response || fetch(event.request)));
});
