// The answer sheet's class part in the page: thirty result lines pasted, pooled into a table
// beside the exact odds with both verdicts, and the table downloaded as the command line
// would write it.

import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { openPage, prompt, answerPrompt, button, drawnLines } from './page.mjs';

const odds = process.env.HASHIGORO_ODDS ?? '../build/app/hashigoro-odds/hashigoro-odds';

// The prompt answered, the answer sheet opened: its class part, as a person finds it.
async function openClassPart(page) {
    await answerPrompt(page, '10');
    await prompt(page).waitFor({ state: 'hidden' });
    await button(page, 'はしごろう＿理論値').click();
    const part = page.getByRole('region', { name: 'クラスの結果' });
    await part.waitFor();
    return part;
}

test('thirty lines pasted come to a table with both verdicts, and download as CSV',
     { timeout: 90000 }, async () => {
    const { browser, page } = await openPage();
    try {
        const part = await openClassPart(page);
        const lines = drawnLines(odds, 30, () => 50);
        await part.getByRole('textbox').fill(`${lines.join('\n')}\nこれは結果ではありません\n`);
        await part.getByRole('button', { name: '集計', exact: true }).click();
        await page.waitForFunction(() => document.getElementById('OddsClassSummary')
            .textContent.startsWith('30 回の実験を読みました。'));
        assert.match(await page.locator('#OddsClassRejected').textContent(), /^31 行目：数がありません/);
        const group = await part.getByRole('combobox').locator('option').first().textContent();
        assert.match(group, /^横線 50 本：30 回の実験、[\d,]+ 回の試行$/);
        // The table is the pooled counts: line 3's is the sum of the thirty lines' third count.
        const third = lines.reduce((sum, l) => sum + Number(l.split('　')[1].split(' ')[2]), 0);
        assert.equal(Number(await page.locator('#OddsClassCell3_0').textContent()), third);
        assert.equal(await page.locator('#OddsClassCell3_2').textContent(), '15.0');
        const verdicts = await page.locator('#OddsClassVerdicts').textContent();
        assert.match(verdicts, /公平（どの線も 10 %）と比べると：.*公平にしては偏りが大きすぎます/);
        assert.match(verdicts, /理論値と比べると：/);

        // The same lines on the command line give the same table.
        const [download] = await Promise.all([page.waitForEvent('download'),
                                              button(page, '集計表を CSV で保存…').click()]);
        assert.equal(download.suggestedFilename(), 'hashigoro-class.csv');
        const csv = readFileSync(await download.path(), 'utf8');
        assert.match(csv, /^rungs,experiments,trials,line,count,relative_frequency,exact_odds\n/);
        assert.ok(csv.includes(`\n50,30,`) && csv.includes(`,3,${third},`));
        const report = execFileSync(odds, ['--class', '-'], { input: lines.join('\n'),
                                                            encoding: 'utf8' });
        assert.ok(report.includes(`\n3,${third},`));

        // This device's lines, added twice, count once, and so do the untagged copies of them
        // pasted before (30 experiments); a Shift_JIS file, as Excel on Japanese
        // Windows saves it, is read and its encoding named; blocked storage adds nothing and
        // breaks nothing.
        const own = `${lines[0]}　#own001\n${lines[1]}　#own002\n`;
        await page.evaluate(text => localStorage.setItem('hashigoro.results', text), own);
        await part.getByRole('button', { name: 'この端末の実験を追加' }).click();
        await part.getByRole('button', { name: 'この端末の実験を追加' }).click();
        assert.match(await page.locator('#OddsClassSummary').textContent(),
                     /^この端末の実験はもうすべて入っています。30 回の実験を読みました。/);
        const shiftJis = Buffer.from(
            '8252944e825191672c89a190fc3530967b81403320352032302037203420322031203020302030' +
            '814033967b96da82aa969e947482c58f4997b90d0a', 'hex');
        await page.locator('#OddsClassFiles')
            .setInputFiles({ name: 'B組.csv', mimeType: 'text/csv', buffer: shiftJis });
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .startsWith('読んだファイル：B組.csv（Shift_JIS）。31 回の実験を読みました。'));
        // A NUL in a Shift_JIS file cuts nothing short: the line after it is read too.
        await page.locator('#OddsClassFiles').setInputFiles({
            name: 'C組.csv', mimeType: 'text/csv',
            buffer: Buffer.concat([shiftJis, Buffer.from('\0\r\n10 1 1 1 1 1 1 1 1 1 1\r\n')]) });
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .includes('C組.csv（Shift_JIS）。32 回の実験を読みました。'));
        await page.evaluate(() => Object.defineProperty(window, 'localStorage', {
            get() { throw new DOMException('blocked', 'SecurityError'); } }));
        await part.getByRole('button', { name: 'この端末の実験を追加' }).click();
        assert.match(await page.locator('#OddsClassSummary').textContent(),
                     /^この端末の実験はまだありません。/);
        assert.equal(await page.getByText('はしごろうが止まりました').count(), 0);

        // Ten thousand lines, each an experiment of its own, are read and pooled (how soon is
        // the page bench's row).
        const many = Array.from({ length: 10000 },
                                (_, i) => `${lines[i % 30]}　#t${i.toString(36).padStart(5, '0')}`)
            .join('\n');
        await page.evaluate(text => { document.getElementById('OddsClassLines').value = text; },
                            many);
        await part.getByRole('button', { name: '集計', exact: true }).click();
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .includes('10,000 回の実験'), null, { timeout: 60000 });
    } finally {
        await browser.close();
    }
});

test('a class of 2,222 lines settles on the theoretical probability, in the charts and their '
     + 'tables, and the settling downloads as the command line prints it', { timeout: 120000 },
     async () => {
    const { browser, page } = await openPage();
    try {
        const part = await openClassPart(page);
        const lines = drawnLines(odds, 2222, i => [10, 30, 50][i % 3],
                                 i => `c${i.toString(36).padStart(5, '0')}`);
        await page.evaluate(text => { document.getElementById('OddsClassLines').value = text; },
                            lines.join('\n'));
        await part.getByRole('button', { name: '集計', exact: true }).click();
        await page.waitForFunction(() => document.getElementById('OddsClassSummary')
            .textContent.startsWith('2,222 回の実験を読みました。'), null, { timeout: 60000 });
        // The group with the most experiments: 10 rungs, where the start line is the likeliest.
        assert.match(await part.getByRole('combobox').inputValue(), /^横線 10 本：741 回の実験/);
        const shown = part.getByRole('group', { name: '表示する線' });
        const ticked = async () => (await shown.getByRole('checkbox').evaluateAll(
            boxes => boxes.map(box => box.checked)))
            .flatMap((on, i) => on ? [i + 1] : []);
        assert.deepEqual(await ticked(), [3]);
        await part.getByRole('combobox').selectOption({ index: 2 });
        assert.deepEqual(await ticked(), [1, 3]);

        // A line chosen by a click, and another rung count chosen and this one again: each
        // drawn anew (how soon is the page bench's row).
        const line10 = shown.getByRole('checkbox', { name: '10本目' });
        await line10.click();
        assert.deepEqual(await ticked(), [1, 3, 10]);
        await line10.click();
        assert.deepEqual(await ticked(), [1, 3]);
        await part.getByRole('combobox').selectOption({ index: 0 });
        assert.deepEqual(await ticked(), [3]);
        await part.getByRole('combobox').selectOption({ index: 2 });
        assert.deepEqual(await ticked(), [1, 3]);

        // The tables a screen reader reads hold the numbers drawn: a row after each experiment.
        // Written a moment after the last change, for lines 1 and 3 at 50 rungs.
        const table = page.locator('#OddsClassTrendChart + .sr-only table');
        await page.waitForFunction(() => {
            const rows = document.querySelectorAll('#OddsClassTrendChart + .sr-only table tr');
            return rows.length === 1 + 740 && rows[0].cells.length === 3;
        });
        assert.deepEqual(await table.locator('th').allTextContents(),
                         ['クラスの試行回数（累計）', '1本目 (%)', '3本目 (%)']);
        const report = execFileSync(odds, ['--class', '-', '--trend'],
                                    { input: lines.join('\n'), encoding: 'utf8' });
        const block = report.split('\n\n')[2].trim().split('\n');
        assert.equal(block.length, 1 + 740);
        const last = block[740].split(',');
        assert.deepEqual(await table.locator('tr').last().locator('td').allTextContents(),
                         [last[2], last[3], last[5]]);
        assert.match(await page.locator('#OddsClassSpreadChart').getAttribute('aria-label'),
                     /^1 回の実験とクラス全体（1本目）$/);
        assert.match(await page.locator('#OddsClassDistance').textContent(),
                     /^1本目の相対度数は、1 回の実験では理論値から平均 \d+\.\d ポイント離れていましたが、クラス全体（[\d,]+ 回の試行）では \d\.\d ポイントでした。/);

        const [download] = await Promise.all([page.waitForEvent('download'),
                                              button(page, '推移を CSV で保存…').click()]);
        assert.equal(download.suggestedFilename(), 'hashigoro-trend.csv');
        assert.equal(readFileSync(await download.path(), 'utf8'), report);
    } finally {
        await browser.close();
    }
});

test('lines perhaps pasted twice are counted, named, and left out with one click',
     { timeout: 60000 }, async () => {
    const { browser, page } = await openPage();
    try {
        const part = await openClassPart(page);
        await part.getByRole('textbox').fill('10 1 0 0 0 0 0 0 0 0 0\n10 1 0 0 0 0 0 0 0 0 0\n');
        await part.getByRole('button', { name: '集計', exact: true }).click();
        const summary = page.locator('#OddsClassSummary');
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .startsWith('2 回の実験を読みました。'));
        assert.match(await summary.textContent(), /印のない行が 1 行あります（2 行目）/);
        await part.getByRole('button', { name: '同じ行を数から除く' }).click();
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .startsWith('1 回の実験を読みました。'));
        assert.match(await summary.textContent(), /この 1 行は数えていません。$/);
        await part.getByRole('button', { name: '除いた行を数に戻す' }).click();
        await page.waitForFunction(() => document.getElementById('OddsClassSummary').textContent
            .startsWith('2 回の実験を読みました。'));
    } finally {
        await browser.close();
    }
});
