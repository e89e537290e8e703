// Opens はしごろう's page in the real Chromium, as a person would, and keeps what the page asked
// the network for and what went wrong in it.

import { chromium } from 'playwright-core';
import { after } from 'node:test';
import path from 'node:path';
import { pathToFileURL, fileURLToPath } from 'node:url';
import { execFileSync } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import http from 'node:http';

const here = path.dirname(fileURLToPath(import.meta.url));
export const dist = process.env.HASHIGORO_DIST ?? path.join(here, '..', '..', 'dist');
export const buildWeb = process.env.HASHIGORO_BUILD_WEB ?? path.join(here, '..', '..', 'build-web');

// The windows' layout table, as the desktop build prints it.
export function layoutTable() {
    const program = process.env.HASHIGORO_LAYOUT_JSON ??
        path.join(here, '..', '..', 'build', 'tools', 'layout_json');
    return JSON.parse(execFileSync(program, { encoding: 'utf8' }));
}

// Every language of the catalogue, in the menu's order, each text by its name in TextId.
export function languages() {
    const names = [...readFileSync(path.join(here, '..', '..', 'texts', 'text_id.h'), 'utf8')
        .matchAll(/^    (\w+),/gm)].map(match => match[1]);
    return layoutTable().languages.map(language => ({
        ...language, texts: Object.fromEntries(names.map((name, i) => [name, language.texts[i]])),
    }));
}

export const px = twips => Math.floor(twips / 15);

// A catalogue text with its values put in, as the program's Format does: {n} is value n, and
// {n?one|other} the word for exactly one or for any other count.
export const format = (text, ...values) => text
    .replace(/\{(\d)\?([^|}]*)\|([^}]*)\}/g,
             (whole, n, one, other) => n <= values.length ? (String(values[n - 1]) === '1' ? one : other) : whole)
    .replace(/\{(\d)\}/g, (whole, n) => n <= values.length ? String(values[n - 1]) : whole);

// The viewport in which the main window is shown at scale 1: its client area, caption bar and
// border, and the margin around it.
export const scaleOne = { width: 658 + 2 + 16, height: 569 + 24 + 2 + 16 };

const launchOptions = args => ({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--no-first-run', '--disable-sync',
           // As a browser is set out of the box: sound only after a person's gesture.
           '--autoplay-policy=user-gesture-required', ...args],
});

// One browser for all of a file's pages that need no flags of their own: each page still gets
// a context of its own, with its own storage, cache and service workers, as a fresh profile
// would. Starting a browser costs more than most tests.
let shared = null;
after(async () => (await shared)?.close());
async function sharedBrowser() {
    const browser = await shared;
    if (!browser?.isConnected()) {
        shared = chromium.launch(launchOptions([]));
    }
    return shared;
}

// The page in a browser of its own when it needs its own flags, else in a fresh context of the
// shared one. `browser.close()` of what it returns closes what the page was given.
export async function openPage({ width = 1366, height = 768, file = 'hashigoro.html', scale = 1,
                                 touch = false, url = null, before = null, args = [] } = {}) {
    const own = args.length > 0;
    const browser = own ? await chromium.launch(launchOptions(args))
                        : await sharedBrowser();
    const context = await browser.newContext({
        viewport: { width, height }, deviceScaleFactor: scale, locale: 'ja-JP',
        hasTouch: touch, isMobile: touch,
    });
    const page = await context.newPage();
    if (before) {
        await page.addInitScript(before);  // runs in the page before any of its own scripts
    }
    const requests = [];
    const errors = [];
    page.on('request', request => requests.push(request.url()));
    page.on('pageerror', error => errors.push(error.message));
    page.on('console', message => {
        if (message.type() === 'error') {
            errors.push(message.text());
        }
    });
    await page.goto(url ?? pathToFileURL(path.join(dist, file)).href);
    return { browser: { close: () => (own ? browser : context).close() }, context, page, requests,
             errors };
}

// Opens the page as openPage does, runs `body` with what it gives, and closes the browser
// whatever happens.
export async function withPage(options, body) {
    const opened = await openPage(options);
    try {
        await body(opened);
    } finally {
        await opened.browser.close();
    }
}

export function prompt(page, name = 'はしごろう横線本数の設定') {
    return page.getByRole('dialog', { name });
}

// Types `entry` into the rung-count prompt and presses Enter.
export async function answerPrompt(page, entry, name = undefined) {
    const entryBox = prompt(page, name).getByRole('textbox');
    await entryBox.fill(entry);
    await entryBox.press('Enter');
}

export const button = (page, name) => page.getByRole('button', { name, exact: true });

// Whole experiments drawn from the exact odds by plain code, as result lines: `count` of them,
// the i-th at `rungsOf(i)` rungs, arrivals until one finds its bar full, with `tagOf(i)` after
// the line when given.
export function drawnLines(odds, count, rungsOf, tagOf = () => '') {
    const table = execFileSync(odds, ['--csv'], { encoding: 'utf8' }).trim().split('\n');
    // A 32-bit generator in whole numbers (Math.imul), which doubles would round.
    let seed = 20261207;
    const random = () => {
        seed = (seed + 0x6D2B79F5) | 0;
        let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
        t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
        return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
    };
    return Array.from({ length: count }, (_, i) => {
        const rungs = rungsOf(i);
        const p = table[rungs + 1].split(',').slice(1).map(Number);
        const bars = new Array(10).fill(0);
        for (;;) {
            let r = random();
            let c = 0;
            while (c < 9 && r >= p[c]) {
                r -= p[c++];
            }
            if (bars[c] === 20) {
                const tag = tagOf(i);
                return `横線${rungs}本　${bars.join(' ')}　${c + 1}本目が満杯で終了${tag ? `　#${tag}` : ''}`;
            }
            ++bars[c];
        }
    });
}

// Visits the help window `count` times, as a person would: HELP, 閉じる, and the prompt that
// greets the main window again answered with 10 rungs.
export async function helpRoundTrips(page, count) {
    for (let i = 0; i < count; ++i) {
        await button(page, 'HELP').click();
        await button(page, '閉じる').click();
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
    }
}

// The page's JavaScript heap after a full collection, and how many canvases it still holds that
// are no longer in the document, from a heap snapshot taken through the DevTools protocol.
export async function heapAfterCollection(page) {
    const devtools = await page.context().newCDPSession(page);
    const chunks = [];
    devtools.on('HeapProfiler.addHeapSnapshotChunk', ({ chunk }) => chunks.push(chunk));
    await devtools.send('HeapProfiler.enable');
    await devtools.send('HeapProfiler.collectGarbage');
    const { usedSize } = await devtools.send('Runtime.getHeapUsage');
    await devtools.send('HeapProfiler.takeHeapSnapshot', { reportProgress: false });
    await devtools.detach();
    const { snapshot, nodes, strings } = JSON.parse(chunks.join(''));
    const fields = snapshot.meta.node_fields;
    const [name, detachedness] = [fields.indexOf('name'), fields.indexOf('detachedness')];
    let detachedCanvases = 0;
    for (let i = 0; i < nodes.length; i += fields.length) {
        // Detachedness 1: a node in the document (0 is not known, 2 detached).
        detachedCanvases += nodes[i + detachedness] !== 1 && strings[nodes[i + name]].startsWith('<canvas');
    }
    return { heapBytes: usedSize, detachedCanvases };
}

// A web server on this machine's loopback, as a school's static host serves files: each may be
// kept for ten minutes by the browser. `site.folder` may be changed to redeploy, `site.missing`
// names files it answers 404 for, `site.pages` holds extra pages by path.
export async function serve(folder) {
    const site = { folder, missing: new Set(), pages: new Map() };
    const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript',
                    '.css': 'text/css', '.wasm': 'application/wasm', '.woff2': 'font/woff2',
                    '.png': 'image/png', '.wav': 'audio/wav', '.webmanifest': 'application/manifest+json' };
    const server = http.createServer((request, response) => {
        let name = decodeURIComponent(new URL(request.url, 'http://x').pathname).slice(1) || 'index.html';
        const file = path.join(site.folder, path.basename(name));
        if (site.pages.has(name)) {
            response.writeHead(200, { 'Content-Type': types['.html'] });
            response.end(site.pages.get(name));
        } else if (site.missing.has(name) || !existsSync(file)) {
            response.writeHead(404);
            response.end();
        } else {
            response.writeHead(200, { 'Content-Type': types[path.extname(name)] ?? 'text/plain',
                                      'Cache-Control': 'max-age=600' });
            response.end(readFileSync(file));
        }
    });
    await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
    site.url = `http://127.0.0.1:${server.address().port}/`;
    site.close = () => new Promise(resolve => server.close(resolve));
    return site;
}
