// The page by the book: axe-core finds nothing to fault in the prompt, the main window during
// a trial, the help window and the answer sheet.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { openPage, prompt, answerPrompt, button } from './page.mjs';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'),
                               'utf8');

// What axe finds, one line a fault, with the elements it names.
async function faults(page) {
    const found = await page.evaluate(source => new Function(`${source};return axe.run(document)`)()
        .then(result => result.violations.map(v =>
            `${v.id} (${v.impact}): ${v.nodes.map(n => n.target.join(' ')).join(', ')}`)),
                                      axeSource);
    return found;
}

test('no accessibility faults in the prompt, a trial, the help and the answer sheet',
     { timeout: 90000 }, async () => {
    const { browser, page } = await openPage();
    try {
        await prompt(page).waitFor();
        assert.deepEqual(await faults(page), [], 'the prompt');
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう作成・抽選の開始').click();
        await page.waitForFunction(() => document.getElementById('Label1').textContent !== '');
        assert.deepEqual(await faults(page), [], 'the main window during a trial');
        await page.getByRole('button', { name: /^停[\s\u3000]+止$/ }).click();
        await button(page, 'HELP').click();
        await page.getByRole('region', { name: 'はしごろう＿ヘルプ（設問と操作方法）' }).waitFor();
        assert.deepEqual(await faults(page), [], 'the help window');
        await button(page, '閉じる').click();
        await answerPrompt(page, '10');
        await prompt(page).waitFor({ state: 'hidden' });
        await button(page, 'はしごろう＿理論値').click();
        await page.getByRole('region', { name: 'はしごろう＿理論値' }).waitFor();
        // The charts' numbers are there as tables, named as the charts are.
        await page.waitForFunction(() => document.querySelectorAll('.sr-only tr').length > 300);
        for (const name of ['どの線に着くか（%）', '偏りを見抜く確率（5 % の検定）']) {
            assert.equal(await page.getByRole('img', { name }).count(), 1, name);
            assert.equal(await page.getByRole('table', { name }).count(), 1, name);
        }
        assert.deepEqual(await faults(page), [], 'the answer sheet');
    } finally {
        await browser.close();
    }
});
