// dist/web/ served as a class page would serve it: once loaded, it is installable and goes on
// working without a network, from what its service worker keeps.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import path from 'node:path';
import { dist, openPage, prompt } from './page.mjs';
import { ownFontLoaded } from './engines.mjs';

// A web server on this machine's loopback for dist/web/, on a port of its own choosing.
async function serve() {
    const server = spawn('/usr/bin/python3', ['-u', '-m', 'http.server', '--bind', '127.0.0.1',
                                              '0', '--directory', path.join(dist, 'web')]);
    const port = await new Promise((resolve, reject) => {
        server.stdout.on('data', data => {
            const found = String(data).match(/port (\d+)/);
            if (found) {
                resolve(Number(found[1]));
            }
        });
        server.on('exit', () => reject(new Error('the web server ended')));
    });
    return { server, url: `http://127.0.0.1:${port}/` };
}

test('the served page works offline once loaded, and names itself for installing',
     { timeout: 60000 }, async () => {
    const { server, url } = await serve();
    const { browser, context, page, requests } = await openPage({ url });
    try {
        await prompt(page).waitFor();
        assert.equal(await page.evaluate(ownFontLoaded), true, 'the page\'s own font');
        await page.evaluate(() => navigator.serviceWorker.ready);
        const manifest = await page.evaluate(async () =>
            (await fetch('manifest.webmanifest')).json());
        assert.equal(manifest.name, 'はしごろう');
        assert.equal(manifest.display, 'standalone');
        assert.ok(manifest.icons.some(icon => icon.sizes === '512x512'));
        // Every request went to the page's own server.
        assert.deepEqual(requests.filter(r => !r.startsWith(url) && !/^(data|blob):/.test(r)), []);
        server.kill();
        await context.setOffline(true);
        await page.reload();
        await prompt(page).waitFor();
        assert.equal(await page.locator('#Form1').count(), 1);
        // A class's link in its own language starts offline too.
        await page.goto(url + '?lang=ko');
        await prompt(page, '사다리 타기 가로선 개수 설정').waitFor();
    } finally {
        server.kill();
        await browser.close();
    }
});
