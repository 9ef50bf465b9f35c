// Keeps the page, and nothing else, so that it plays without a network: the
// page comes from the cache at once and is fetched anew behind it for the
// next visit. The game keeps no state anywhere; neither does this worker.
'use strict';
const kept = 'bottles-@VERSION@';
const page = new URL('./', self.location).href;
const pages = [page, new URL('index.html', self.location).href];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kept).then((cache) => cache.add(page)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key !== kept).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const url = new URL(event.request.url);
  url.search = '';
  url.hash = '';
  if (event.request.method !== 'GET' || !pages.includes(url.href)) return;
  event.respondWith(caches.open(kept).then(async (cache) => {
    const fresh = fetch(page).then((response) => {
      if (response.ok) cache.put(page, response.clone());
      return response;
    });
    const stored = await cache.match(page);
    if (!stored) return fresh;
    event.waitUntil(fresh.catch(() => {}));
    return stored;
  }));
});
