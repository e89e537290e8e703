// Runs first, before the page's styles and scripts: checks that this browser can run はしごろう,
// and from then on shows in front of everything, in words a teacher can act on, why the page
// cannot start or has stopped. It needs nothing else of the page, not even its styles.
'use strict';
(() => {
    // The language: the address's ?lang= first, then the one chosen before, else Japanese (the
    // page is a Japanese classroom's first). The bundler puts every language's failure texts
    // and fonts before this script. Chosen when first asked for, not here: a first look into
    // the browser's storage costs a fresh profile 15 ms, which the single file spends while its
    // WebAssembly compiles.
    const texts = globalThis.hashigoroTexts;
    const ours = code => code && Object.keys(texts).find(c => c.toLowerCase() === code.toLowerCase());
    let language = null;
    globalThis.hashigoroChooseLanguage = () => {
        if (language === null) {
            let saved = null;
            try {
                saved = localStorage.getItem('hashigoro-language');
            } catch (error) {
                // storage refused: nothing was saved
            }
            language = ours(new URLSearchParams(location.search).get('lang')) || ours(saved) || 'ja';
            document.documentElement.lang = language;
        }
        return language;
    };

    // Adds a language's own font to the page the first time it is chosen: decoded from the
    // single file's text, or fetched beside the served page.
    const fontsAdded = new Set();
    globalThis.hashigoroUseFont = code => {
        const font = globalThis.hashigoroFonts[code];
        if (!font || fontsAdded.has(code)) {
            return;
        }
        // The single file carries it last, where the page may not have been read up to yet.
        if (font.id && !document.getElementById(font.id) && document.readyState === 'loading') {
            document.addEventListener('DOMContentLoaded', () => globalThis.hashigoroUseFont(code));
            return;
        }
        fontsAdded.add(code);
        const text = font.id && document.getElementById(font.id);
        const face = new FontFace(font.family, text ? hashigoroBytes(text.textContent)
                                                    : `url("${font.url}")`, { display: 'swap' });
        document.fonts.add(face);
        face.load().catch(() => {});
    };

    const kinds = {
        old: [t => t.CannotRun, (t, detail) => t.TooOld.replace('{1}', detail) + t.UpdateAdvice],
        wasm: [t => t.CannotRun, t => t.NoWebAssembly + t.UpdateAdvice],
        stopped: [t => t.Stopped, (t, detail) => t.StoppedText.replace('{1}', detail)],
    };
    const canShowModal = typeof HTMLDialogElement === 'function' &&
                         typeof HTMLDialogElement.prototype.showModal === 'function';
    let reported = false;

    // Shows the box of `kind`; only the first report is shown, the root of what follows.
    function report(kind, detail) {
        if (reported) {
            return;
        }
        reported = true;
        const [title, text] = kinds[kind];
        const t = texts[globalThis.hashigoroChooseLanguage()];
        const place = () => {
            // A dialog shown modally is in the top layer, above any dialog open before it.
            const box = document.createElement(canShowModal ? 'dialog' : 'div');
            box.id = 'Failure';
            box.className = 'failure';
            box.setAttribute('role', 'alertdialog');
            box.setAttribute('aria-modal', 'true');
            box.setAttribute('aria-labelledby', 'FailureTitle');
            box.setAttribute('aria-describedby', 'FailureText');
            const heading = document.createElement('h2');
            heading.id = 'FailureTitle';
            heading.textContent = title(t);
            const paragraph = document.createElement('p');
            paragraph.id = 'FailureText';
            paragraph.textContent = text(t, detail);
            const again = document.createElement('button');
            again.type = 'button';
            again.className = 'button';
            again.textContent = t.Reload;
            again.addEventListener('click', () => location.reload());
            box.append(heading, paragraph, again);
            document.body.append(box);
            // What a sheet or a box made inert must not keep the way out from a person.
            for (const element of document.querySelectorAll('[inert]')) {
                element.removeAttribute('inert');
            }
            if (canShowModal) {
                box.addEventListener('cancel', event => event.preventDefault());
                box.showModal();
            }
            again.focus();
        };
        if (document.body) {
            place();
        } else {
            document.addEventListener('DOMContentLoaded', place);
        }
    }
    globalThis.hashigoroReport = report;

    const missing = [];
    if (!canShowModal) {
        missing.push('dialog');
    }
    if (typeof HTMLElement !== 'function' || !('inert' in HTMLElement.prototype)) {
        missing.push('inert');
    }
    const hasWasm = typeof WebAssembly === 'object' && typeof WebAssembly.compile === 'function';
    if (!hasWasm) {
        report('wasm');
    } else if (missing.length > 0) {
        report('old', missing.join('・'));
    }
    const canStart = !reported;
    // The page's WebAssembly could not be made ready, or the program could not start. An empty
    // module tells which: it too is refused where WebAssembly is switched off, or where the
    // page's security policy is newer than the browser (Safari 15). Asked only then, it costs
    // a start nothing.
    // The errors that follow such a failure are its own: they wait for the answer.
    let failedToStart = false;
    const startFailed = detail => {
        failedToStart = true;
        WebAssembly.compile(new Uint8Array([0, 0x61, 0x73, 0x6d, 1, 0, 0, 0]))
            .then(() => report('stopped', detail), () => report('wasm'));
    };
    const stopped = detail => failedToStart || report('stopped', detail);
    globalThis.hashigoroStartFailed = startFailed;
    globalThis.hashigoroCanStart = canStart;
    // What the program's script reads when it starts; where the page cannot run, it never does.
    globalThis.Module = { onAbort: startFailed };
    if (!canStart) {
        globalThis.Module.instantiateWasm = () => ({});
    }

    window.addEventListener('error', event => stopped(event.message || String(event.error)));
    window.addEventListener('unhandledrejection', event =>
        stopped(String((event.reason && event.reason.message) || event.reason)));

    // A new version installed beside the running one waits. The page offers it in its corner
    // between experiments (never while the trials run, when the stop button is enabled), and
    // loads it when asked.
    function offerNewVersion(registration) {
        const offer = () => {
            if (!registration.waiting || !navigator.serviceWorker.controller ||
                document.getElementById('NewVersion')) {
                return;
            }
            const corner = document.getElementById('Corner');
            if (!corner) {
                setTimeout(offer, 500);
                return;
            }
            const button = document.createElement('button');
            button.id = 'NewVersion';
            button.type = 'button';
            button.className = 'button new-version';
            const retext = () => {
                button.textContent = texts[document.documentElement.lang]?.NewVersion ??
                                     texts.ja.NewVersion;
            };
            retext();
            new MutationObserver(retext).observe(document.documentElement,
                                                 { attributes: true, attributeFilter: ['lang'] });
            const running = () => {
                const stop = document.getElementById('Command5');
                return !!stop && !stop.disabled;
            };
            const follow = () => { button.hidden = running(); };
            follow();
            new MutationObserver(follow).observe(document.body, {
                subtree: true, childList: true, attributes: true, attributeFilter: ['disabled'],
            });
            button.addEventListener('click', () => {
                if (running()) {
                    return;
                }
                navigator.serviceWorker.addEventListener('controllerchange', () => location.reload());
                registration.waiting.postMessage('take-over');
            });
            corner.prepend(button);
        };
        const watch = worker => worker?.addEventListener('statechange', () => {
            if (worker.state === 'installed') {
                offer();
            }
        });
        offer();
        watch(registration.installing);
        registration.addEventListener('updatefound', () => watch(registration.installing));
        // A page left open for days asks now and then whether a new version is out.
        setInterval(() => registration.update().catch(() => {}), 60 * 60 * 1000);
    }

    // The served page works offline through its service worker. Where the page may not use one
    // (an embed in a sandboxed frame throws on asking), or the worker's file is missing, the
    // page simply runs online.
    window.addEventListener('load', () => {
        const offline = document.querySelector('meta[name=offline]');
        try {
            if (offline && navigator.serviceWorker) {
                navigator.serviceWorker.register(offline.content).then(offerNewVersion, () => {});
            }
        } catch (error) {
            // no service worker here
        }
    });
})();
