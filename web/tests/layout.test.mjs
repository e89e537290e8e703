// The page's windows against the layout table and the desktop's own pixels, and on the
// screens of a classroom.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { openPage, prompt, answerPrompt, layoutTable, px, scaleOne, button } from './page.mjs';

// Where an element stands in its container, in CSS pixels, hidden or not.
const placeOf = (page, id) => page.evaluate(id => {
    const style = getComputedStyle(document.getElementById(id));
    return ['left', 'top', 'width', 'height'].map(side => parseFloat(style[side]));
}, id);

test('every control stands where the layout table puts it, at scale 1',
     { timeout: 60000 }, async () => {
    const table = layoutTable();
    const { browser, page } = await openPage(scaleOne);
    try {
        await prompt(page).waitFor();
        assert.equal(await page.evaluate(() =>
            Number(getComputedStyle(document.documentElement).getPropertyValue('--s'))), 1);
        for (const control of table.main.controls) {
            const [left, top, width, height] = control.rect.map(px);
            const expected = control.kind === 2 ? [left, top, width + 1, 1]  // a line
                                                : [left, top, width, height];
            assert.deepEqual(await placeOf(page, control.name), expected, control.name);
            if (control.caption) {
                assert.equal(await page.locator('#' + control.name).textContent(),
                             control.caption, control.name);
            }
            assert.equal(await page.locator('#' + control.name).isVisible(), control.visible,
                         control.name);
        }
        // The tally squares come once the window is on screen.
        await page.locator('#o10_20').waitFor({ state: 'attached' });
        const border = px(table.ladderBorder);
        const squares = { Picture2: table.startSquare, ...table.squares };
        for (const [id, rect] of Object.entries(squares)) {
            const [left, top, width, height] = rect.map(px);
            assert.deepEqual(await placeOf(page, id), [left + border, top + border, width, height],
                             id);
        }
        await answerPrompt(page, '10');
        await button(page, 'HELP').click();
        await page.locator('#Form2').waitFor();
        for (const control of table.help.controls) {
            const [left, top, width, height] = control.rect.map(px);
            const expected = control.kind === 2 ? [left, top, width + 1, 1] : [left, top, width, height];
            assert.deepEqual(await placeOf(page, control.name), expected, 'help ' + control.name);
        }
    } finally {
        await browser.close();
    }
});

// The families of every visible element that holds text of its own: id (or tag) -> the list.
const textFonts = page => page.evaluate(() => Object.fromEntries(
    [...document.querySelectorAll('body *')]
        .filter(element => element.getClientRects().length > 0 &&
                           [...element.childNodes].some(node => node.nodeType === 3 &&
                                                                node.textContent.trim()))
        .map(element => [element.id || element.tagName,
                         getComputedStyle(element).fontFamily.replace(/"/g, '')])));

test('each text is in its control\'s font: the table\'s gothic, or the toolkit\'s default, ' +
     'which is the system\'s font with the page\'s gothic for Japanese', { timeout: 60000 },
     async () => {
    const table = layoutTable();
    const gothic = 'Hashigoro Gothic, ＭＳ Ｐゴシック, MS PGothic, sans-serif';
    const toolkit = 'system-ui, Hashigoro Gothic, sans-serif';
    const { browser, page } = await openPage();
    try {
        const expect = (fonts, want) => {
            for (const [id, family] of Object.entries(want)) {
                assert.equal(fonts[id], family, id);
            }
        };
        const controls = windowTable => Object.fromEntries(windowTable.controls
            .filter(control => control.caption && control.visible)
            .map(control => [control.name, control.points > 0 ? gothic : toolkit]));
        await prompt(page).waitFor();
        expect(await textFonts(page), {
            ...controls(table.main), InputOk: toolkit, InputCancel: toolkit,
            InputBoxTitle: toolkit, InputPrompt: gothic,
        });
        await answerPrompt(page, '10');
        await button(page, 'HELP').click();
        await page.locator('#Form2').waitFor();
        expect(await textFonts(page), controls(table.help));
    } finally {
        await browser.close();
    }
});

test('the empty ladder is the desktop\'s, pixel for pixel, at scale 1', { timeout: 60000 },
     async () => {
    const reference = process.env.HASHIGORO_BOARD_PICTURE;
    assert.ok(reference, 'HASHIGORO_BOARD_PICTURE names the desktop\'s picture of the board');
    const desktop = readFileSync(reference).toString('base64');
    const { browser, page } = await openPage(scaleOne);
    try {
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        const shot = (await page.locator('#Picture1').screenshot()).toString('base64');
        // The browser decodes both pictures and counts the pixels that differ.
        const result = await page.evaluate(async ([a, b]) => {
            const pixels = async data => {
                // The pixels as stored, whatever colour profile the file names.
                const blob = await (await fetch('data:image/png;base64,' + data)).blob();
                const image = await createImageBitmap(blob, { colorSpaceConversion: 'none' });
                const canvas = new OffscreenCanvas(image.width, image.height);
                const context = canvas.getContext('2d');
                context.drawImage(image, 0, 0);
                return context.getImageData(0, 0, image.width, image.height);
            };
            const [p, q] = [await pixels(a), await pixels(b)];
            if (p.width !== q.width || p.height !== q.height) {
                return { size: [p.width, p.height, q.width, q.height] };
            }
            let differing = 0;
            let first = null;
            for (let i = 0; i < p.data.length; i += 4) {
                for (let c = 0; c < 3; ++c) {
                    if (p.data[i + c] !== q.data[i + c]) {
                        first ??= [(i / 4) % p.width, Math.floor(i / 4 / p.width)];
                        ++differing;
                        break;
                    }
                }
            }
            return { differing, first };
        }, [desktop, shot]);
        assert.deepEqual(result, { differing: 0, first: null });
    } finally {
        await browser.close();
    }
});

// A projector, a Chromebook, an iPad either way round, and a phone held sideways, where the
// window keeps a finger's targets and the page scrolls up and down to it.
for (const [width, height, scale, touch, whole] of [[1920, 1080, 1, false, true],
                                                    [1366, 768, 1, false, true],
                                                    [1024, 768, 2, true, true],
                                                    [768, 1024, 2, true, true],
                                                    [740, 360, 3, true, false]]) {
    test(`the window at ${width} x ${height}: ${whole ? 'whole, without scroll bars'
                                                      : 'scrolling up and down only'}`,
         { timeout: 60000 }, async () => {
        const { browser, page } = await openPage({ width, height, scale, touch });
        try {
            await prompt(page).waitFor();
            const box = await page.locator('#Form1').boundingBox();
            assert.ok(box.x >= 0 && box.y >= 0 && box.x + box.width <= width &&
                      (!whole || box.y + box.height <= height), JSON.stringify(box));
            // It fills the screen in at least one direction, less the margin.
            assert.ok(box.width >= width - 20 || box.height >= height - 20 || !whole,
                      JSON.stringify(box));
            const scrolls = await page.evaluate(() => {
                const root = document.scrollingElement;
                return [root.scrollWidth > root.clientWidth, root.scrollHeight > root.clientHeight];
            });
            assert.deepEqual(scrolls, [false, !whole]);
            // Touch works for the prompt and the buttons.
            if (touch) {
                await prompt(page).getByRole('textbox').fill('10');
                await prompt(page).getByRole('button', { name: 'OK' }).tap();
                await prompt(page).waitFor({ state: 'hidden' });
                await button(page, 'はしごろう作成・抽選の開始').tap();
                assert.equal(await button(page, 'はしごろう作成・抽選の開始').isEnabled(), false);
            }
            await page.screenshot({ path: `/tmp/hashigoro-web-${width}x${height}.png` });
        } finally {
            await browser.close();
        }
    });
}
