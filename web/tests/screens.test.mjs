// The page on the screens of a classroom's devices, in every engine: laptops, an iPad held
// either way, a phone held sideways. At each, in each language, nothing reaches past the
// screen, no text is cut, every target is a finger's and is what a tap at its middle hits, and
// the answer sheet, its class part pooled, scrolls no further than its content.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdirSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { dist, languages, drawnLines } from './page.mjs';
import { chromium, firefox, webkit, waitFor } from './engines.mjs';
import { audit } from './layout_audit.mjs';

const page = pathToFileURL(path.join(dist, 'hashigoro.html')).href;
const odds = process.env.HASHIGORO_ODDS ?? '../build/app/hashigoro-odds/hashigoro-odds';
const shots = process.env.HASHIGORO_SCREENSHOTS ?? '/tmp/hashigoro-screens';
const laptops = [[1366, 768], [1280, 800], [1024, 768]];
const iPads = [[768, 1024], [810, 1080], [1080, 810]];
const phone = [[844, 390]];
// Every language in Chromium; the slower engines in the languages of the longest words.
const matrix = [
    [chromium, [...laptops, ...iPads, ...phone], languages().map(language => language.code)],
    [firefox, [[1366, 768], [768, 1024], ...phone], ['ja', 'en']],
    [webkit, [[1024, 768], [1080, 810], [768, 1024], ...phone], ['ja', 'ko']],
];
// Clicks the button of that name, brought to the middle of its scrolling box first, as a
// person scrolls to what they tap.
async function press(engine, name) {
    const button = await waitFor(engine, 'button', name);
    await engine.evaluate(name => [...document.querySelectorAll('button')]
        .find(b => b.textContent.trim() === name && b.getClientRects().length > 0)
        ?.scrollIntoView({ block: 'center' }), name);
    await engine.click(button);
}

const lines = drawnLines(odds, 40, i => (i % 2 ? 10 : 30)).join('\n');

// The audit once the page has settled: a chart shown again after the window was resized while
// it was hidden takes its new width from a resize observer, a frame or more later, and later
// still in WebKit on a busy machine. What the audit still finds after 5 s is what it says.
async function settledAudit(engine) {
    const end = Date.now() + 5000;
    for (;;) {
        const found = await engine.evaluate(audit);
        if (found.length === 0 || Date.now() > end) {
            return found;
        }
        await new Promise(resolve => setTimeout(resolve, 100));
    }
}

for (const [open, sizes, codes] of matrix) {
    test(`the page on a classroom's screens in ${open.name}`, { timeout: 900000 }, async () => {
        mkdirSync(shots, { recursive: true });
        const engine = await open();
        try {
            for (const code of codes) {
                const t = languages().find(language => language.code === code).texts;
                const [firstWidth, firstHeight] = sizes.at(-1);
                await engine.resize(firstWidth, firstHeight);
                await engine.goto(`${page}?lang=${code}`);
                await waitFor(engine, 'dialog', t.PromptTitle.trim());
                assert.deepEqual(await engine.evaluate(audit), [], `${code} prompt, ${sizes.at(-1)}`);
                const entry = await waitFor(engine, 'textbox');
                await engine.type(entry, '10');
                await engine.pressEnter(entry);
                await waitFor(engine, 'dialog', t.PromptTitle.trim(), { gone: true });
                for (const [width, height] of sizes) {
                    const where = `${code} at ${width}×${height}`;
                    await engine.resize(width, height);
                    assert.deepEqual(await engine.evaluate(audit), [], `${where}: the window`);
                    await engine.click(await waitFor(engine, 'button', t.SheetCaption.trim()));
                    await waitFor(engine, 'region', t.SheetCaption.trim());
                    await waitFor(engine, 'textbox', t.ClassLinesLabel);
                    await engine.evaluate(lines => {
                        const box = document.getElementById('OddsClassLines');
                        box.value = lines;
                        box.dispatchEvent(new Event('input', { bubbles: true }));
                    }, lines);
                    await press(engine, t.ClassPool);
                    await engine.evaluate(() => new Promise(resolve => {
                        const check = () => document.querySelectorAll('.class-table td')[29]
                            ?.textContent ? resolve() : setTimeout(check, 50);
                        check();
                    }));
                    assert.deepEqual(await settledAudit(engine), [], `${where}: the answer sheet`);
                    // The class's table whole, its last row where a tap finds it.
                    assert.equal(await engine.evaluate(() => {
                        const row = [...document.querySelectorAll('.class-table tr')].at(-1);
                        row.scrollIntoView({ block: 'center' });
                        const box = row.getBoundingClientRect();
                        return row.contains(document.elementFromPoint(box.x + box.width / 2,
                                                                      box.y + box.height / 2));
                    }), true, `${where}: the class's tenth line`);
                    await engine.evaluate(() => document.getElementById('OddsClass').scrollIntoView());
                    await engine.screenshot(path.join(shots, `${open.name}-${width}x${height}-${code}.png`));
                    await press(engine, t.ClassClear);
                    await press(engine, t.BackToLadder);
                    await waitFor(engine, 'region', t.SheetCaption.trim(), { gone: true });
                }
            }
        } finally {
            await engine.close();
        }
    });
}
