// The answer sheet's three charts in a page, drawn by Chart.js; the numbers come from the
// C++ that computes them, which calls these functions. Bundled into the page by esbuild.

import {
    BarController, BarElement, CategoryScale, Chart, Filler, Legend, LinearScale, LineController,
    LineElement, LogarithmicScale, PointElement, ScatterController, Title,
} from 'chart.js';

Chart.register(BarController, BarElement, CategoryScale, Filler, Legend, LinearScale,
               LineController, LineElement, LogarithmicScale, PointElement, ScatterController,
               Title);

const red = 'rgb(255, 0, 0)';
const lightRed = 'rgb(255, 170, 170)';
const band = 'rgb(230, 230, 230)';
const stoppedEdge = 'rgb(110, 110, 110)';
Chart.defaults.color = 'black';
Chart.defaults.animation = false;
Chart.defaults.maintainAspectRatio = false;
Chart.defaults.responsive = true;

// The charts take the windows' gothic of the language spoken (the page's style sheet says
// which), and can be made again in another language.
function useGothic() {
    Chart.defaults.font.family =
        getComputedStyle(document.documentElement).getPropertyValue('--gothic').trim();
}
const destroyer = (charts, more = []) => () => {
    for (const chart of charts) {
        const holder = chart.canvas.nextElementSibling;
        if (holder && holder.className === 'sr-only') {
            holder.remove();
        }
        chart.destroy();
    }
    for (const element of more) {
        element.remove();
    }
};

const title = text => ({ display: true, text, font: { size: 14, weight: 'bold' } });
const axis = (text, extra) => ({ title: { display: !!text, text }, ...extra });

// A table after `canvas` with the numbers of its chart, for a screen reader: `fill` gives its
// header and rows when the numbers change (a little later, once a slider has come to rest).
function numbersTable(canvas, title, fill) {
    const holder = document.createElement('div');
    holder.className = 'sr-only';
    const table = document.createElement('table');
    holder.append(table);
    canvas.after(holder);
    let pending = 0;
    return () => {
        clearTimeout(pending);
        pending = setTimeout(() => {
            const [header, rows] = fill();
            const caption = document.createElement('caption');
            caption.textContent = title;
            const line = (cells, tag) => {
                const row = document.createElement('tr');
                for (const cell of cells) {
                    const element = document.createElement(tag);
                    element.textContent = cell;
                    row.append(element);
                }
                return row;
            };
            table.replaceChildren(caption, line(header, 'th'),
                                  ...rows.map(cells => line(cells, 'td')));
        }, 250);
    };
}

const percent = value => value.toFixed(1);

// Two sets of bars over the ten lines, in % (`first` red, `second` light red), with fair's 10 %
// as a dashed line.
const barsAgainstFair = (canvas, t, heading, first, second) => new Chart(canvas, {
    data: {
        labels: t.lines,
        datasets: [
            { type: 'bar', label: first, data: [], backgroundColor: red, order: 2 },
            { type: 'bar', label: second, data: [], backgroundColor: lightRed, order: 3 },
            { type: 'line', label: t.fair, data: t.lines.map(() => 10), borderColor: 'black',
              borderDash: [6, 4], borderWidth: 1.5, pointRadius: 0, order: 1 },
        ],
    },
    options: {
        plugins: { title: title(heading) },
        scales: { y: axis(t.percent, { min: 0, suggestedMax: 40 }) },
    },
});

// `t` holds the sheet's words; the canvases are the page's.
function create(t, bars, distance, power) {
    useGothic();
    const barChart = barsAgainstFair(bars, t, t.barTitle, t.exact, t.simulated);
    // The chosen rung count's point sits over the distance chart rather than in it, so that a
    // step of the slider moves one small element instead of redrawing the whole curve. It is
    // placed again whenever the chart draws (a new start line, a new size).
    const marker = document.createElement('div');
    marker.className = 'chart-marker';
    marker.setAttribute('aria-hidden', 'true');
    distance.parentElement.append(marker);
    let chosen = null;  // { x, y } in the chart's units
    const placeMarker = () => {
        if (!chosen) {
            return;
        }
        const x = distanceChart.scales.x.getPixelForValue(chosen.x);
        const y = distanceChart.scales.y.getPixelForValue(chosen.y);
        marker.style.left = `${distance.offsetLeft + x}px`;
        marker.style.top = `${distance.offsetTop + y}px`;
    };
    const distanceChart = new Chart(distance, {
        plugins: [{ id: 'chosenMarker', afterDraw: placeMarker }],
        type: 'line',
        data: {
            datasets: [
                // Drawn from the highest order down: the band behind the curve and the point.
                { label: t.band, data: [{ x: 10, y: 90 }, { x: 50, y: 90 }], fill: 'origin',
                  backgroundColor: band, borderColor: band, pointRadius: 0, order: 3 },
                { label: t.distance, data: [], borderColor: red, borderWidth: 2, pointRadius: 0,
                  order: 2 },
                // Named in the legend only: the point itself is the marker drawn over the chart.
                { type: 'scatter', label: t.chosen, data: [], backgroundColor: 'black',
                  pointRadius: 5, order: 1 },
            ],
        },
        options: {
            parsing: false,
            plugins: { title: title(t.distanceTitle) },
            scales: {
                x: axis(t.rungs, { type: 'linear', min: 0, max: 225, ticks: { stepSize: 50 } }),
                y: axis(t.percent, { min: 0, max: 90 }),
            },
        },
    });
    const powerChart = new Chart(power, {
        type: 'line',
        data: {
            datasets: [
                { label: t.power, data: [], borderColor: red, borderWidth: 2, pointRadius: 0 },
                { label: t.eighty, data: [{ x: 1, y: 80 }, { x: 10000, y: 80 }],
                  borderColor: 'black', borderDash: [6, 4], borderWidth: 1.5, pointRadius: 0 },
            ],
        },
        options: {
            parsing: false,
            plugins: { title: title(t.powerTitle) },
            scales: {
                // Lines and numbers at the powers of ten only, as on the desktop; fewer ticks
                // also make each step of the slider cheaper to draw.
                x: axis(t.trials, { type: 'logarithmic', min: 1, max: 10000,
                                     afterBuildTicks: scale => {
                                         scale.ticks = [1, 10, 100, 1000, 10000]
                                             .map(value => ({ value, major: true }));
                                     },
                                     ticks: { maxRotation: 0, callback: v => String(v) } }),
                y: axis(t.percent, { min: 0, max: 100 }),
            },
        },
    });
    const barNumbers = numbersTable(bars, t.barTitle, () => [
        [t.arrivalHeader, `${t.exact} (%)`, `${t.simulated} (%)`],
        t.lines.map((line, i) => [line, percent(barChart.data.datasets[0].data[i] ?? 0),
                                  percent(barChart.data.datasets[1].data[i] ?? 0)])]);
    const distanceNumbers = numbersTable(distance, t.distanceTitle, () => [
        [t.rungs, `${t.distance} (%)`],
        distanceChart.data.datasets[1].data.map(p => [String(p.x), percent(p.y)])]);
    const powerNumbers = numbersTable(power, t.powerTitle, () => [
        [t.trials, `${t.power} (%)`],
        powerChart.data.datasets[0].data.map(p => [String(p.x), percent(p.y)])]);
    return {
        destroy: destroyer([barChart, distanceChart, powerChart], [marker]),
        // Percentages of the exact odds, and of a simulation beside them (or none).
        showOdds(exact, simulated) {
            barChart.data.datasets[0].data = exact;
            barChart.data.datasets[1].data = simulated;
            barChart.options.scales.y.max = Math.max(40, Math.ceil(Math.max(...exact) / 10) * 10);
            barChart.update('none');
            barNumbers();
        },
        // The distance from fair over every rung count (given again only for a new start
        // line), and the chosen one.
        showDistance(values, rungs) {
            if (values) {
                distanceChart.data.datasets[1].data = values.map((y, x) => ({ x, y }));
            }
            chosen = distanceChart.data.datasets[1].data[rungs];
            if (values) {
                distanceChart.update('none');  // which places the marker too
                distanceNumbers();
            } else {
                placeMarker();
            }
        },
        showPower(trials, percents) {
            powerChart.data.datasets[0].data = trials.map((x, i) => ({ x, y: percents[i] }));
            powerChart.update('none');
            powerNumbers();
        },
        // The three charts on one white canvas: the bars above, the other two below.
        picture() {
            const [a, b, c] = [bars, distance, power];
            const canvas = document.createElement('canvas');
            canvas.width = Math.max(a.width, b.width + c.width);
            canvas.height = a.height + Math.max(b.height, c.height);
            const context = canvas.getContext('2d');
            context.fillStyle = 'white';
            context.fillRect(0, 0, canvas.width, canvas.height);
            context.drawImage(a, 0, 0);
            context.drawImage(b, 0, a.height);
            if (chosen) {
                const ratio = distanceChart.currentDevicePixelRatio;
                context.fillStyle = 'black';
                context.beginPath();
                context.arc(distanceChart.scales.x.getPixelForValue(chosen.x) * ratio,
                            a.height + distanceChart.scales.y.getPixelForValue(chosen.y) * ratio,
                            5 * ratio, 0, 2 * Math.PI);
                context.fill();
            }
            context.drawImage(c, b.width, a.height);
            return canvas;
        },
    };
}

// A level across a chart from x `from` to `to`.
const level = (label, y, from, to, colour, dashed) => ({
    label, data: [{ x: from, y }, { x: to, y }], borderColor: colour, backgroundColor: colour,
    borderWidth: dashed ? 1.5 : 2.5, borderDash: dashed ? [6, 4] : [], pointRadius: 0,
});

// The percent axis: up to the next ten above what is drawn, 40 at the least.
const percentTop = highest => Math.max(40, Math.ceil(highest / 10) * 10);

// The class part's charts: the pooled relative frequencies beside the theoretical
// probabilities (the part's table beside it gives the numbers); how the chosen lines' relative
// frequencies settle as the class's trials add up, on a logarithmic axis, each beside its
// theoretical probability as a dashed level; and each experiment's relative frequency of one
// line against the class's and the band where 95 % of experiments of its length fall.
function createClass(t, canvas, trendCanvas, spreadCanvas) {
    useGothic();
    const chart = barsAgainstFair(canvas, t, t.title, t.share, t.exact);
    const trend = new Chart(trendCanvas, {
        type: 'line',
        data: { datasets: [] },
        options: {
            parsing: false,
            normalized: true,
            plugins: { title: title(t.trendTitle) },
            scales: {
                x: axis(t.trendAxis, { type: 'logarithmic', min: 1, max: 10000,
                                       afterBuildTicks: scale => {
                                           const ticks = [];
                                           for (let v = 1; v <= scale.max; v *= 10) {
                                               if (v < scale.min) {
                                                   continue;
                                               }
                                               ticks.push({ value: v, major: true });
                                           }
                                           scale.ticks = ticks;
                                       },
                                       ticks: { maxRotation: 0, callback: v => String(v) } }),
                y: axis(t.shareAxis, { min: 0, max: 40 }),
            },
        },
    });
    const spread = new Chart(spreadCanvas, {
        type: 'line',
        data: { datasets: [] },
        options: {
            parsing: false,
            plugins: { title: title('') },
            scales: {
                x: axis(t.spreadAxis, { type: 'linear', min: 0, max: 160 }),
                y: axis(t.shareAxis, { min: 0, max: 40 }),
            },
        },
    });
    let lines = [];
    let shown = null;
    const trendNumbers = numbersTable(trendCanvas, t.trendTitle, () => [
        [t.trendAxis, ...lines.map(line => `${line.name} (%)`)],
        lines.length === 0 ? [] : Array.from(lines[0].trials, (trials, i) =>
            [String(trials), ...lines.map(line => percent(line.shares[i]))])]);
    const spreadNumbers = numbersTable(spreadCanvas, t.title, () => [
        [t.spreadAxis, `${t.each} (%)`],
        shown ? Array.from(shown.trials, (trials, i) =>
            [String(trials), percent(shown.shares[i])]) : []]);
    return {
        destroy: destroyer([chart, trend, spread]),
        show(shares, exact) {
            chart.data.datasets[0].data = shares;
            chart.data.datasets[1].data = exact;
            chart.update('none');
        },
        // `chosen`: for each line shown, its name, colour, the class's trials after each
        // experiment and the relative frequencies (%) then, and its theoretical probability;
        // `one`: the experiments' trials and relative frequencies of one line, the band, the
        // class's value and the theoretical probability.
        showTrend(chosen, one, axis) {
            lines = chosen;
            // The experiments against the class stay as they are when only another line than
            // theirs was chosen.
            const same = shown && one.trials && shown.title === one.title &&
                shown.whole === one.whole && shown.trials.length === one.trials.length;
            shown = one.trials ? one : null;
            const right = axis.high;
            let highest = 0;
            trend.data.datasets = chosen.flatMap(line => {
                const points = [];
                line.trials.forEach((x, i) => {
                    if (x > 0) {
                        points.push({ x, y: line.shares[i] });
                        highest = Math.max(highest, line.shares[i]);
                    }
                });
                highest = Math.max(highest, line.exact);
                return [{ label: line.name, data: points, borderColor: line.colour,
                          backgroundColor: line.colour, borderWidth: 2, pointRadius: 0 },
                        level(line.exactName, line.exact, axis.low, right, line.colour, true)];
            });
            trend.options.scales.x.min = axis.low;
            trend.options.scales.x.max = right;
            trend.options.scales.y.max = percentTop(highest);
            trend.update('none');
            trendNumbers();

            if (same) {
                return;
            }
            let spreadHighest = 0;
            let spreadRight = 20;
            if (shown) {
                const low = [];
                const high = [];
                one.bandTrials.forEach((x, i) => {
                    low.push({ x, y: one.low[i] });
                    high.push({ x, y: one.high[i] });
                    spreadRight = Math.max(spreadRight, x);
                    // The first few trials allow any share; the axis is sized for the rest.
                    if (x >= 10) {
                        spreadHighest = Math.max(spreadHighest, one.high[i]);
                    }
                });
                // Experiments stopped early: their band's two edges, dotted.
                const stoppedEdges = [[], []];
                (one.stoppedTrials ?? []).forEach((x, i) => {
                    stoppedEdges[0].push({ x, y: one.stoppedLow[i] });
                    stoppedEdges[1].push({ x, y: one.stoppedHigh[i] });
                    if (x >= 10) {
                        spreadHighest = Math.max(spreadHighest, one.stoppedHigh[i]);
                    }
                });
                const dots = Array.from(one.trials, (x, i) => ({ x, y: one.shares[i] }));
                for (const dot of dots) {
                    spreadHighest = Math.max(spreadHighest, dot.y);
                    spreadRight = Math.max(spreadRight, dot.x);
                }
                spreadRight = Math.ceil(spreadRight / 20) * 20;
                spread.options.plugins.title.text = one.title;
                spread.data.datasets = [
                    { type: 'scatter', label: t.each, data: dots, backgroundColor: one.colour,
                      borderColor: one.colour, pointRadius: 3.5, order: 1 },
                    { ...level(t.whole, one.whole, 0, spreadRight, one.colour, false), order: 2 },
                    { ...level(one.exactName, one.exact, 0, spreadRight, 'black', true), order: 2 },
                    { label: '', data: low, borderColor: band, pointRadius: 0, order: 3 },
                    { label: t.band, data: high, fill: '-1', backgroundColor: band,
                      borderColor: band, pointRadius: 0, order: 3 },
                    ...(one.stoppedTrials ? stoppedEdges.map((data, i) => ({
                        label: i ? t.stoppedBand : '', data, borderColor: stoppedEdge,
                        borderDash: [2, 3], borderWidth: 1.5, pointRadius: 0, order: 3 })) : []),
                ];
            } else {
                spread.options.plugins.title.text = '';
                spread.data.datasets = [];
            }
            spread.options.plugins.legend = { labels: { filter: item => item.text !== '' } };
            spread.options.scales.x.max = spreadRight;
            spread.options.scales.y.max = percentTop(spreadHighest);
            spread.update('none');
            spreadNumbers();
        },
    };
}

// This device's experiment as it goes: a line's relative frequency after each arrival, beside
// its theoretical probability as a dashed level.
function createOwn(t, canvas) {
    useGothic();
    const chart = new Chart(canvas, {
        type: 'line',
        data: { datasets: [] },
        options: {
            parsing: false,
            plugins: { title: title(t.title) },
            scales: {
                x: axis(t.trials, { type: 'linear', min: 0, max: 20 }),
                y: axis(t.share, { min: 0, max: 100 }),
            },
        },
    });
    let shown = null;
    const numbers = numbersTable(canvas, t.title, () => [
        [t.trials, shown ? `${shown.name} (%)` : t.share],
        shown ? Array.from(shown.trials, (trials, i) => [String(trials), percent(shown.shares[i])])
              : []]);
    return {
        destroy: destroyer([chart]),
        show(line) {
            shown = line;
            const right = Math.max(20, Math.ceil(line.trials.length / 20) * 20);
            // Nothing to draw before the experiment's first square.
            chart.data.datasets = line.trials.length === 0 ? [] : [
                { label: line.name, data: Array.from(line.trials, (x, i) => ({ x, y: line.shares[i] })),
                  borderColor: line.colour, backgroundColor: line.colour, borderWidth: 2,
                  pointRadius: line.trials.length > 40 ? 0 : 2.5 },
                level(line.exactName, line.exact, 0, right, line.colour, true),
            ];
            chart.options.scales.x.max = right;
            chart.update('none');
            numbers();
        },
    };
}

window.HashigoroCharts = { create, createClass, createOwn };
