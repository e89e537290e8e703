// Keeps every file of はしごろう, so that an installed copy runs without a network. The list is
// written in when the page is put together; the files that a build changes are named by their
// content, so one version's page never meets another's script or WebAssembly.
const cacheName = 'hashigoro-{{version}}';
const files = {{files}};

self.addEventListener('install', event => {
    // Past the browser's own cache: a server that lets files be kept for a while would
    // otherwise hand the new version the old page.
    event.waitUntil(caches.open(cacheName).then(cache =>
        cache.addAll(files.map(file => new Request(file, { cache: 'reload' })))));
});

// A new version waits until the page says that no experiment is running.
self.addEventListener('message', event => {
    if (event.data === 'take-over') {
        self.skipWaiting();
    }
});

self.addEventListener('activate', event => {
    event.waitUntil(caches.keys().then(names => Promise.all(
        names.filter(name => name !== cacheName).map(name => caches.delete(name)))));
});

// The files a teacher may replace (the chimes) come from the network first; the rest from the
// cache first.
self.addEventListener('fetch', event => {
    const url = new URL(event.request.url);
    if (url.origin !== location.origin) {
        return;
    }
    const fromNetwork = url.pathname.endsWith('.wav');
    // The page answers its own address with any query (?lang=ko), as every file does.
    const kept = () => caches.match(event.request, { ignoreSearch: true });
    event.respondWith(fromNetwork
        ? fetch(event.request).catch(kept)
        : kept().then(hit => hit || fetch(event.request)));
});
