// What a school meets in the field, each kept mended: long lessons, devices that cannot run the
// page, embeds, redeployed pages, input methods, and results that must survive the tab.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cpSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { dist, withPage, prompt, answerPrompt, button, helpRoundTrips, heapAfterCollection,
         serve } from './page.mjs';

const cannotRun = 'このブラウザーでは はしごろうを動かせません';
const failure = (page, name) => page.getByRole('alertdialog', { name });
const startButton = page => button(page, 'はしごろう作成・抽選の開始');
const stopButton = page => page.getByRole('button', { name: /^停[\s\u3000]+止$/ });

// Answers the prompt, runs trials until the first arrival, and stops them.
async function firstArrival(page) {
    await answerPrompt(page, '10');
    await prompt(page).waitFor({ state: 'hidden' });
    await startButton(page).click();
    await page.waitForFunction(() => /本目に着きました/.test(
        document.getElementById('Announcer').textContent), null, { timeout: 15000 });
}

test('a long lesson\'s help visits leave no window behind', { timeout: 120000 }, async () => {
    await withPage({}, async ({ page }) => {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await helpRoundTrips(page, 1);
        const first = await heapAfterCollection(page);
        await helpRoundTrips(page, 20);
        const after = await heapAfterCollection(page);
        assert.equal(after.detachedCanvases, 0);
        // The browser's own records grow a little (undo steps, layout shifts); a window left
        // behind each time would add some 60 KB.
        assert.ok(after.heapBytes - first.heapBytes < 400e3, `${after.heapBytes - first.heapBytes} bytes`);
    });
});

test('a device that cannot run the page says why, and what to do', { timeout: 120000 }, async () => {
    for (const [why, options, said] of [
        ['WebAssembly switched off, as in Lockdown Mode', { args: ['--js-flags=--jitless'] },
         /WebAssembly が使えない/],
        ['a security policy the browser is too old for (Safari 15)', {
            before: () => {
                WebAssembly.compile = () => Promise.reject(new WebAssembly.CompileError('refused'));
            },
        }, /WebAssembly が使えない/],
        ['no inert (Safari 15.4)', { before: () => delete HTMLElement.prototype.inert }, /（inert）/],
        ['no dialogs (Safari 15.3)', { before: () => delete HTMLDialogElement.prototype.showModal },
         /（dialog）/],
    ]) {
        await withPage(options, async ({ page }) => {
            const box = failure(page, cannotRun);
            await box.waitFor({ timeout: 15000 });
            const text = await box.innerText();
            assert.match(text, said, why);
            assert.match(text, /iPadOS・iOS を 16 以降に更新/, why);
            assert.equal(await page.evaluate(() => document.activeElement.textContent), '読み込み直す', why);
        });
    }
});

test('the page runs where storage and service workers are refused or missing: the single file in any sandboxed frame, the served page where its origin is kept',
     { timeout: 120000 }, async () => {
    const site = await serve(path.join(dist, 'web'));
    site.pages.set('hashigoro.html', readFileSync(path.join(dist, 'hashigoro.html')));
    site.missing.add('sw.js');
    try {
        // The served page fetches its WebAssembly, which a frame of no origin may not.
        for (const [file, sandbox] of [['hashigoro.html', 'allow-scripts'],
                                       ['index.html', 'allow-scripts allow-same-origin'],
                                       ['index.html', null]]) {
            site.pages.set('embed.html', `<!DOCTYPE html><title>授業の教材</title>
                <iframe sandbox="${sandbox}" src="${file}" width="1200" height="740"></iframe>`);
            const url = sandbox ? `${site.url}embed.html` : site.url;
            await withPage({ url }, async ({ page, errors }) => {
                await page.waitForLoadState('load');
                const shown = page.frames().find(f => f !== page.mainFrame()) ?? page;
                await firstArrival(shown);
                await stopButton(shown).click();
                // 初期化 keeps the experiment, which a frame's storage refuses; it goes on.
                await button(shown, '初期化').click();
                await prompt(shown).waitFor();
                assert.equal(await shown.getByRole('alertdialog').count(), 0, file);
                assert.deepEqual(errors.filter(e => !/404/.test(e)), [], file);
            });
        }
    } finally {
        await site.close();
    }
});

test('a redeployed page is taken whole, past a server that lets files be kept', { timeout: 120000 },
     async () => {
    // The next version: another style sheet, so another name, and another service worker.
    const next = mkdtempSync(path.join(os.tmpdir(), 'hashigoro-next-'));
    cpSync(path.join(dist, 'web'), next, { recursive: true });
    const style = readdirSync(next).find(name => /^page-.*\.css$/.test(name));
    writeFileSync(path.join(next, 'page-next.css'),
                  readFileSync(path.join(next, style), 'utf8') + '\nbody { --deployed: next; }\n');
    rmSync(path.join(next, style));
    for (const [file, change] of [['index.html', text => text.replace(style, 'page-next.css')],
                                  ['sw.js', text => text.replace(style, 'page-next.css')
                                      .replace(/hashigoro-(\w+)'/, "hashigoro-$1-next'")]]) {
        writeFileSync(path.join(next, file), change(readFileSync(path.join(next, file), 'utf8')));
    }
    const site = await serve(path.join(dist, 'web'));
    try {
        await withPage({ url: site.url }, async ({ context, page }) => {
            await prompt(page).waitFor();
            await page.evaluate(() => navigator.serviceWorker.ready);
            site.folder = next;
            await page.reload();
            await page.evaluate(() => new Promise(resolve => {
                const check = async () => {
                    const registration = await navigator.serviceWorker.getRegistration();
                    return registration.waiting ? resolve() : setTimeout(check, 100);
                };
                check();
            }));
            // Between experiments the page offers the new version, and takes it when asked.
            await answerPrompt(page, '10');
            await prompt(page).waitFor({ state: 'hidden' });
            await page.getByRole('button', { name: '新しい版があります — 読み込み直す' }).click();
            await page.waitForFunction(() =>
                getComputedStyle(document.body).getPropertyValue('--deployed').trim() === 'next');
            // The next one comes in whole in a page opened afresh, offline too.
            await page.close();
            const again = await context.newPage();
            for (const offline of [false, true]) {
                await context.setOffline(offline);
                await again.goto(site.url);
                await prompt(again).waitFor();
                assert.equal(await again.evaluate(() =>
                    getComputedStyle(document.body).getPropertyValue('--deployed').trim()), 'next');
            }
        });
    } finally {
        await site.close();
        rmSync(next, { recursive: true });
    }
});

test('an input method\'s Escape cancels its conversion and nothing else', { timeout: 60000 },
     async () => {
    const composingEscape = selector => document.querySelector(selector).dispatchEvent(
        new KeyboardEvent('keydown', { key: 'Escape', isComposing: true, bubbles: true, cancelable: true }));
    await withPage({}, async ({ page }) => {
        await prompt(page).waitFor();
        await page.evaluate(composingEscape, '#InputEntry');
        await page.waitForTimeout(500);
        assert.equal(await prompt(page).isVisible(), true);
        assert.equal(await page.getByRole('dialog', { name: 'はしごろう', exact: true }).count(), 0);
        await answerPrompt(page, '10');
        await button(page, 'はしごろう＿理論値').click();
        const sheet = page.getByRole('region', { name: 'はしごろう＿理論値' });
        await sheet.waitFor();
        await page.locator('#OddsClassLines').focus();
        await page.evaluate(composingEscape, '#OddsClassLines');
        await page.waitForTimeout(500);
        assert.equal(await sheet.isVisible(), true);
        await page.keyboard.press('Escape');
        await sheet.waitFor({ state: 'hidden' });
    });
});

test('an experiment with arrivals is kept when the tab goes; a copy works without the clipboard, and says so',
     { timeout: 90000 }, async () => {
    for (const clipboard of [true, false]) {
        const before = clipboard ? null : () => delete Navigator.prototype.clipboard;
        await withPage({ before }, async ({ context, page }) => {
            await context.grantPermissions(['clipboard-read', 'clipboard-write']);
            await firstArrival(page);
            await stopButton(page).click();
            const line = await page.locator('#ResultLine').textContent();
            await button(page, 'コピー').click();
            await page.waitForFunction(() => document.getElementById('CopySaid').textContent !== '');
            const said = await page.locator('#CopySaid').textContent();
            assert.equal(await page.locator('#Announcer').textContent(), said);
            if (clipboard) {
                assert.equal(said, 'コピーしました');
                assert.equal(await page.evaluate(() => navigator.clipboard.readText()), line);
            } else {
                assert.match(said, /^(コピーしました|行を選びました。)/);
                assert.equal(await page.evaluate(() => getSelection().toString()), line);
            }
            // Going on, then closing the tab: what it had is kept, as 初期化 keeps it.
            await startButton(page).click();
            await page.reload();
            await prompt(page).waitFor();
            const kept = await page.evaluate(() => localStorage.getItem('hashigoro.results'));
            assert.match(kept, /^横線10本　[\d ]+　途中で終了　#[0-9a-z]+　@\d+\n$/);
        });
    }
});
