// The service worker: keeps every file of the page in a cache of its own,
// so that after one visit the page loads and computes with the network off,
// and later loads skip the network. The build writes in the list of files
// with the digest of each, and the cache's name, a digest of them all: a
// changed page gets a new cache, and the old one is dropped once the new one
// is complete.
const CACHE = 'zelvorn-odds-@ZELVORN_PAGE_DIGEST@';
const PAGE_FILES = {@ZELVORN_PAGE_FILES@};

// The page's files as absolute addresses, and the address of the page
// itself, which a navigation to the folder also means.
const scope = self.registration.scope;
const kept = new Set(Object.keys(PAGE_FILES).map((file) => new URL(file, scope).href));
const pageUrl = new URL('index.html', scope).href;

async function sha256(response) {
  const digest = await crypto.subtle.digest('SHA-256', await response.clone().arrayBuffer());
  return [...new Uint8Array(digest)].map((b) => b.toString(16).padStart(2, '0')).join('');
}

// The worker installs while the page that registered it has just fetched
// every file: each is taken from the browser's HTTP cache, so that a first
// visit fetches each file once. Only a copy whose digest is not the one the
// build wrote (an older copy, or none) is fetched afresh from the server.
// `addresses` are where the file may stand in the HTTP cache (the page
// itself under the address it was opened at).
async function keep(cache, file, addresses) {
  for (const address of addresses) {
    try {
      const response = await fetch(address, {cache: 'only-if-cached', mode: 'same-origin'});
      if (response.ok && await sha256(response) === PAGE_FILES[file]) {
        return cache.put(file, response);
      }
    } catch (error) {
      // Not in the HTTP cache: fetched below.
    }
  }
  const response = await fetch(file, {cache: 'reload'});
  if (!response.ok) throw new Error(file + ': ' + response.status);
  return cache.put(file, response);
}

async function install() {
  const cache = await caches.open(CACHE);
  const opened = (await self.clients.matchAll({type: 'window', includeUncontrolled: true}))
    .map((client) => client.url.split('#')[0]);
  await Promise.all(Object.keys(PAGE_FILES).map((file) =>
    keep(cache, file, file === 'index.html' ? [...opened, scope, file] : [file])));
  await self.skipWaiting();
}

self.addEventListener('install', (event) => event.waitUntil(install()));

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
