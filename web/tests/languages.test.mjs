// The page in every language of its catalogue: every control's text inside it, the choice from
// the address or from before, a switch at once in the middle of an experiment, and a class's
// lines of every language pooled together.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { withPage, dist, languages, prompt, answerPrompt, button, format } from './page.mjs';

const all = languages();
const single = pathToFileURL(path.join(dist, 'hashigoro.html')).href;
const shots = process.env.HASHIGORO_SCREENSHOTS;
const title = text => text.trim();
const odds = process.env.HASHIGORO_ODDS ?? '../build/app/hashigoro-odds/hashigoro-odds';

// The texts that stick out of their control (their box, or for the help's lines the white
// surface they are printed on), as "id: text".
const overflowing = (page, selector) => page.evaluate(selector => {
    const out = [];
    for (const element of document.querySelectorAll(selector)) {
        if (!element.getClientRects().length || !element.textContent.trim()) {
            continue;  // not shown, or nothing to show
        }
        const box = (element.classList.contains('help-line') ? element.parentElement : element)
            .getBoundingClientRect();
        const range = document.createRange();
        range.selectNodeContents(element);
        const text = range.getBoundingClientRect();
        if (text.left < box.left - 1 || text.right > box.right + 1 || text.top < box.top - 1 ||
            text.bottom > box.bottom + 1) {
            out.push(`${element.id || element.tagName}: ${element.textContent}`);
        }
    }
    return out;
}, selector);

const controls = '.window .caption, .window button, .window .label, .help-line, #Corner button, ' +
                 'dialog[open] button, dialog[open] .box-text, #Results button, ' +
                 '#OddsSheet button, #OddsSheet legend, #OddsSheet h1, #OddsSheet h2, ' +
                 '#OddsSheet .sheet-row > span, #OddsSheet th';

// One ended experiment at 50 rungs in a language's own words: bar `full` full, the others
// `rest` squares each.
function lineIn(language, full, rest) {
    const t = language.texts;
    const counts = Array.from({ length: 10 }, (_, i) => (i + 1 === full ? 20 : rest)).join(' ');
    return [t.ResultRungs.replace('{1}', 50), counts, t.ResultFull.replace('{1}', full)]
        .join(t.ResultSeparator);
}

for (const language of all) {
    const t = language.texts;
    test(`${language.name}: the window, the help, the answer sheet and the class part, every ` +
         'text inside its control', { timeout: 120000 }, async () => {
        await withPage({ url: `${single}?lang=${language.code}` }, async ({ page, errors }) => {
            const look = async name => shots &&
                await page.screenshot({ path: path.join(shots, `${language.code}-${name}.png`) });
            if (shots) {
                mkdirSync(shots, { recursive: true });
            }
            assert.equal(await page.evaluate(() => document.documentElement.lang), language.code);
            await prompt(page, title(t.PromptTitle)).waitFor();
            assert.deepEqual(await overflowing(page, controls), []);
            await answerPrompt(page, '10', title(t.PromptTitle));
            await button(page, t.StartButton).click();
            await page.waitForFunction(() => document.getElementById('Results').hidden === false ||
                                             document.getElementById('Announcer').textContent);
            await button(page, t.StopButton).click();
            assert.deepEqual(await overflowing(page, controls), []);
            // The line says its ending in this language.
            assert.match(await page.locator('#ResultLine').textContent(),
                         new RegExp(t.ResultStopped));
            await look('window');

            await button(page, t.HelpButton).click();
            await page.getByRole('region', { name: title(t.HelpCaption) }).waitFor();
            // The Japanese help's 8th line runs past the surface's edge, as the desktop prints it.
            assert.deepEqual(await overflowing(page, controls),
                             language.code === 'ja' ? [`DIV: ${t.HelpLine8}`] : []);
            await look('help');
            await button(page, t.CloseButton).click();
            await answerPrompt(page, '10', title(t.PromptTitle));

            await button(page, title(t.SheetCaption)).click();
            await page.getByRole('region', { name: title(t.SheetCaption) }).waitFor();
            // A line of every language, and the class's own typing: one group of 50 rungs.
            const lines = all.map((other, i) => lineIn(other, i + 1, 3));
            await page.getByLabel(t.ClassLinesLabel).fill(lines.join('\n'));
            await button(page, t.ClassPool).click();
            const trials = all.length * (20 + 9 * 3);
            await page.getByText(format(t.ClassRead, all.length)).waitFor();
            assert.equal(await page.locator('#OddsClassGroup option').first().textContent(),
                         format(t.ClassGroupTitle, 50, all.length, trials));
            // The command line pools them alike, and the table's counts are its counts.
            const report = execFileSync(odds, ['--class', '-'], { input: lines.join('\n'),
                                                                encoding: 'utf8' });
            assert.match(report, new RegExp(`^rungs 50: ${all.length} experiments, ${trials} trials`));
            assert.equal(await page.locator('#OddsClassCell1_0').textContent(),
                         report.split('\n')[2].split(',')[1]);
            await page.locator('#OddsBarsChart').waitFor();
            assert.deepEqual(await overflowing(page, controls), []);
            await look('sheet');
            assert.deepEqual(errors, []);
        });
    });
}

// The longest words on a phone held sideways: the window scaled down, the sheet scrolled.
test('English on a phone held sideways, every text inside its control', { timeout: 60000 },
     async () => {
    const t = all[1].texts;
    await withPage({ url: `${single}?lang=en`, width: 844, height: 390, touch: true, scale: 3 },
                   async ({ page }) => {
        await answerPrompt(page, '10', title(t.PromptTitle));
        assert.deepEqual(await overflowing(page, controls), []);
        // The page's corner keeps clear of the window, whose Help it would cover.
        assert.equal(await page.evaluate(() => {
            const [corner, form] = ['Corner', 'Form1'].map(id =>
                document.getElementById(id).getBoundingClientRect());
            return corner.bottom <= form.top || corner.left >= form.right;
        }), true);
        if (shots) {
            await page.screenshot({ path: path.join(shots, 'en-phone-window.png') });
        }
        await button(page, title(t.SheetCaption)).click();
        await page.locator('#OddsBarsChart').waitFor();
        assert.deepEqual(await overflowing(page, controls), []);
        if (shots) {
            await page.screenshot({ path: path.join(shots, 'en-phone-sheet.png') });
        }
    });
});

test('the language comes from the address, else from the last choice, else Japanese; a switch ' +
     'says everything again at once and keeps the experiment', { timeout: 120000 }, async () => {
    const [japanese, english, korean] = all;
    const saving = code => `localStorage.setItem('hashigoro-language', '${code}')`;
    for (const [address, saved, spoken] of [['', null, japanese], ['', 'en', english],
                                            ['?lang=ko', 'en', korean], ['?lang=xx', 'en', english],
                                            ['?lang=EN', null, english]]) {
        await withPage({ url: single + address, before: saved && saving(saved) }, async ({ page }) => {
            await prompt(page, title(spoken.texts.PromptTitle)).waitFor();
            assert.equal(await page.evaluate(() => document.documentElement.lang), spoken.code,
                         address + ' ' + saved);
        });
    }

    await withPage({}, async ({ page }) => {
        await answerPrompt(page, '10');
        await button(page, japanese.texts.StartButton).click();
        await page.waitForFunction(() => /回目/.test(document.getElementById('Announcer').textContent),
                                   null, { timeout: 30000 });
        await button(page, japanese.texts.StopButton).click();
        const tallies = () => page.evaluate(() =>
            [...document.querySelectorAll('#Picture1 > div:not([hidden])')].length);
        const before = await tallies();
        // Chosen as a person does; the window is drawn again in the other language (how soon
        // is the page bench's row).
        await page.getByRole('combobox', { name: japanese.texts.LanguageMenu }).selectOption('ko');
        await page.waitForFunction(wanted => document.getElementById('Command1').textContent
            === wanted, korean.texts.StartButton);
        assert.equal(await tallies(), before);
        assert.equal(await page.evaluate(() => [document.documentElement.lang, document.title,
                                                localStorage.getItem('hashigoro-language')].join()),
                     ['ko', korean.texts.MainCaption.trim(), 'ko'].join());
        assert.equal(await page.getByRole('combobox', { name: korean.texts.LanguageMenu })
            .inputValue(), 'ko');
        // The next prompt asks in Korean; the answer sheet is in Korean when opened.
        await button(page, korean.texts.ResetButton).click();
        await prompt(page, title(korean.texts.PromptTitle)).waitFor();
    });
});
