// The whole experiment and the answer sheet in Firefox and WebKit, as in Chromium.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { dist, languages } from './page.mjs';
import { firefox, webkit, waitFor, ownFontLoaded } from './engines.mjs';

const page = pathToFileURL(path.join(dist, 'hashigoro.html')).href;
const odds = process.env.HASHIGORO_ODDS ?? '../build/app/hashigoro-odds/hashigoro-odds';
const promptName = 'はしごろう横線本数の設定';

// What the page saves when the button called `name` is clicked, caught as its download is made.
async function saved(engine, name) {
    await engine.evaluate(() => {
        const make = URL.createObjectURL;
        URL.createObjectURL = blob => {
            blob.text().then(text => { window.savedCsv = text; });
            return make(blob);
        };
    });
    await engine.click(await waitFor(engine, 'button', name));
    return engine.evaluate(() => new Promise(resolve => {
        const check = () => window.savedCsv ? resolve(window.savedCsv) : setTimeout(check, 50);
        check();
    }));
}

async function answer(engine, entry) {
    const box = await waitFor(engine, 'dialog', promptName);
    assert.ok(box);
    const textbox = await waitFor(engine, 'textbox');
    await engine.type(textbox, entry);
    await engine.pressEnter(textbox);
}

for (const open of [firefox, webkit]) {
    test(`the experiment and the answer sheet in ${open.name}`, { timeout: 240000 }, async () => {
        const engine = await open();
        try {
            await engine.goto(page);
            assert.equal(await engine.evaluate(ownFontLoaded), true, 'the page\'s own font');
            // A bad entry opens the box again with its default; a good one starts the window.
            await answer(engine, 'abc');
            await waitFor(engine, 'dialog', promptName);
            assert.equal(await engine.evaluate(() => document.getElementById('InputEntry').value),
                         '50');
            await answer(engine, '10');
            await waitFor(engine, 'dialog', promptName, { gone: true });

            await engine.click(await waitFor(engine, 'button', 'はしごろう作成・抽選の開始'));
            await engine.evaluate(() => new Promise((resolve, reject) => {
                const end = Date.now() + 15000;
                const check = () => /^(\d+)本目に着きました（\1本目は1回目）$/.test(
                    document.getElementById('Announcer').textContent) ? resolve()
                    : Date.now() > end ? reject(new Error('no arrival announced'))
                    : setTimeout(check, 50);
                check();
            }));
            await engine.click(await waitFor(engine, 'button', /^停[\s\u3000]+止$/));
            assert.equal(await engine.evaluate(() => document.getElementById('Command1').disabled),
                         false);

            await engine.click(await waitFor(engine, 'button', 'HELP'));
            await waitFor(engine, 'region', 'はしごろう＿ヘルプ（設問と操作方法）');
            await engine.click(await waitFor(engine, 'button', '閉じる'));
            await answer(engine, '10');
            await waitFor(engine, 'dialog', promptName, { gone: true });

            await engine.click(await waitFor(engine, 'button', '終了'));
            await engine.click(await waitFor(engine, 'button', 'いいえ(N)'));
            await waitFor(engine, 'dialog', 'はしごろう', { gone: true });
            await engine.click(await waitFor(engine, 'button', '終了'));
            await engine.click(await waitFor(engine, 'button', 'はい(Y)'));
            await engine.evaluate(() => new Promise(resolve => {
                const check = () => document.body.textContent.includes('はしごろうを終了しました。')
                    ? resolve() : setTimeout(check, 50);
                check();
            }));

            // The answer sheet, in a page opened afresh: its table is the command line's.
            await engine.goto(page);
            await answer(engine, '10');
            await waitFor(engine, 'dialog', promptName, { gone: true });
            await engine.click(await waitFor(engine, 'button', 'はしごろう＿理論値'));
            await waitFor(engine, 'region', 'はしごろう＿理論値');
            const csv = await saved(engine, '表を CSV で保存…');
            const rows = text => text.trim().split('\n').map(line => line.split(','));
            const ours = rows(csv);
            const desktop = rows(execFileSync(odds, ['--csv'], { encoding: 'utf8' }));
            assert.equal(ours.length, desktop.length);
            assert.deepEqual(ours[0], desktop[0]);
            for (let r = 1; r < ours.length; ++r) {
                for (let c = 1; c <= 10; ++c) {
                    assert.ok(Math.abs(Number(ours[r][c]) - Number(desktop[r][c])) <= 1e-12,
                              `row ${r}, column ${c}`);
                }
            }
        } finally {
            await engine.close();
        }
    });
}

// What differs by engine in the field: the key an input method's Escape comes as (WebKit gives
// key code 229), and the top layer that a failure must come above an open box in.
for (const open of [firefox, webkit]) {
    test(`an input method's Escape and a failure above an open box in ${open.name}`,
         { timeout: 120000 }, async () => {
        const engine = await open();
        try {
            await engine.goto(page);
            await waitFor(engine, 'dialog', promptName);
            for (const composing of [{ isComposing: true }, { keyCode: 229 }]) {
                await engine.evaluate(init => {
                    const key = new KeyboardEvent('keydown', { key: 'Escape', bubbles: true, cancelable: true, ...init });
                    if (init.keyCode) {
                        Object.defineProperty(key, 'keyCode', { value: init.keyCode });
                    }
                    document.getElementById('InputEntry').dispatchEvent(key);
                }, composing);
                await new Promise(resolve => setTimeout(resolve, 500));
                assert.ok(await engine.find('dialog', promptName), JSON.stringify(composing));
                assert.equal(await engine.find('dialog', 'はしごろう'), null, JSON.stringify(composing));
            }
            await engine.evaluate(() => { setTimeout(() => { throw new Error('a test of failures'); }); });
            const again = await waitFor(engine, 'button', '読み込み直す');
            // Focused, and what lies at its middle: nothing over it.
            assert.equal(await engine.evaluate(() => {
                const focused = document.activeElement;
                const box = focused.getBoundingClientRect();
                return focused.textContent === '読み込み直す' &&
                       document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2) === focused;
            }), true);
            await engine.click(again);
            await waitFor(engine, 'dialog', promptName);
        } finally {
            await engine.close();
        }
    });
}

// A language other than Japanese from start to end: its prompt, its arrivals said aloud, its
// result line, help and answer sheet, drawn by its own font; then a switch from the menu.
for (const open of [firefox, webkit]) {
    test(`the page in Korean, and a switch to Traditional Chinese, in ${open.name}`,
         { timeout: 180000 }, async () => {
        const [, , korean, , traditional] = languages();
        const t = korean.texts;
        const engine = await open();
        try {
            await engine.goto(page + '?lang=ko');
            await waitFor(engine, 'dialog', t.PromptTitle.trim());
            const textbox = await waitFor(engine, 'textbox');
            await engine.type(textbox, '10');
            await engine.pressEnter(textbox);
            await waitFor(engine, 'dialog', t.PromptTitle.trim(), { gone: true });
            await engine.click(await waitFor(engine, 'button', t.StartButton));
            await engine.evaluate(() => new Promise((resolve, reject) => {
                const end = Date.now() + 15000;
                const check = () => /^(\d+)번째 선에 도착했습니다 \(\1번째 선은 1번째\)$/.test(
                    document.getElementById('Announcer').textContent) ? resolve()
                    : Date.now() > end ? reject(new Error('no arrival announced'))
                    : setTimeout(check, 50);
                check();
            }));
            // A name's blanks are one blank to a screen reader.
            await engine.click(await waitFor(engine, 'button',
                                             new RegExp(t.StopButton.replace(/\u3000+/g, '\\s+'))));
            assert.match(await engine.evaluate(() =>
                document.getElementById('ResultLine').textContent), /^가로선 10개 .* 도중에 끝남$/);
            await engine.click(await waitFor(engine, 'button', t.HelpButton));
            await waitFor(engine, 'region', t.HelpCaption.trim());
            await engine.click(await waitFor(engine, 'button', t.CloseButton));
            const again = await waitFor(engine, 'textbox');
            await engine.pressEnter(again);
            await engine.click(await waitFor(engine, 'button', t.SheetCaption.trim()));
            await waitFor(engine, 'region', t.SheetCaption.trim());
            assert.equal(await engine.evaluate(() => document.fonts.ready.then(fonts =>
                document.documentElement.lang + ' ' + [...fonts].some(face =>
                    face.family.replace(/"/g, '') === 'Hashigoro KR' && face.status === 'loaded'))),
                         'ko true');
            await engine.click(await waitFor(engine, 'button', t.BackToLadder));
            await engine.evaluate(() => {
                const menu = document.getElementById('Language');
                menu.value = 'zh-Hant';
                menu.dispatchEvent(new Event('change'));
            });
            await waitFor(engine, 'button', traditional.texts.StartButton);
            assert.equal(await engine.evaluate(() => document.documentElement.lang), 'zh-Hant');
        } finally {
            await engine.close();
        }
    });
}

// The class part in WebKit (Safari's engine, a third of a classroom's devices), by real clicks
// and keys: lines typed, this device's lines added, a file opened, pooled, and saved as CSV.
test('the class part by real clicks in WebKit', { timeout: 240000 }, async () => {
    const engine = await webkit();
    const folder = mkdtempSync(path.join(tmpdir(), 'hashigoro-class-'));
    const file = path.join(folder, '2組.csv');
    writeFileSync(file, '班,横線,1,2,3,4,5,6,7,8,9,10\n1班,10,0,2,20,1,1,0,0,0,0,0,3本目が満杯で終了\n');
    try {
        await engine.resize(1080, 810);
        await engine.goto(page);
        // This device's own experiment, as its storage keeps it.
        await engine.evaluate(() => localStorage.setItem('hashigoro.results',
            '横線10本　1 2 3 0 0 0 0 0 0 0　途中で終了　#k3f9a2\n'));
        await answer(engine, '10');
        await waitFor(engine, 'dialog', promptName, { gone: true });
        await engine.click(await waitFor(engine, 'button', 'はしごろう＿理論値'));
        await waitFor(engine, 'region', 'はしごろう＿理論値');
        const box = await waitFor(engine, 'textbox', /^結果の行/);
        await engine.type(box, '横線10本 3 1 20 2 0 0 0 0 0 0 3本目が満杯で終了');
        await engine.click(await waitFor(engine, 'button', 'この端末の実験を追加'));
        const files = await engine.evaluate(() => document.getElementById('OddsClassFiles'));
        await files.sendKeys(file);
        await engine.click(await waitFor(engine, 'button', '集計'));
        const summary = await engine.evaluate(() => new Promise(resolve => {
            const check = () => /3 回の実験を読みました/.test(
                document.getElementById('OddsClassSummary').textContent)
                ? resolve(document.getElementById('OddsClassSummary').textContent)
                : setTimeout(check, 50);
            check();
        }));
        assert.match(summary, /2組\.csv/);
        // Laid out whole: its last row and its buttons where a click finds them.
        assert.deepEqual(await engine.evaluate(() => {
            const part = document.getElementById('OddsClass');
            const row = [...part.querySelectorAll('.class-table tr')].at(-1);
            return [part.getBoundingClientRect().height > 600, row.textContent.startsWith('10本目')];
        }), [true, true]);
        const csv = await saved(engine, '集計表を CSV で保存…');
        // Three experiments at 10 rungs; line 3's count over them: 3 + 20 + 20.
        assert.match(csv, /^rungs,experiments,trials,line,count,/);
        assert.match(csv, /\n10,3,\d+,3,43,/);
    } finally {
        await engine.close();
        rmSync(folder, { recursive: true, force: true });
    }
});
