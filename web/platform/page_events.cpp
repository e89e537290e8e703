#include "page_events.h"

#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>
#include <emscripten/val.h>

#include <cstring>
#include <utility>

namespace hashigoro::web {

namespace {

// The browser demands a promise for waiting without blocking: Wait() parks the program on one,
// and Post() settles it.
// clang-format off
EM_ASYNC_JS(void, AwaitSignal, (), {
    await new Promise(resolve => { Module.hashigoroSignal = resolve; });
});

// The page's scripts reach the program through plain exported functions, never through bound
// ones: a bound function called while the program waits would wait for the program itself.
// The helpers hand them texts and bytes in the module's memory.
EM_JS(void, InstallCalls, (), {
    Module.hashigoroWithText = (text, call) => {
        const size = lengthBytesUTF8(text) + 1;
        const pointer = _malloc(size);
        if (!pointer) {
            throw new Error('no memory for the text');
        }
        stringToUTF8(text, pointer, size);
        try {
            return call(pointer);
        } finally {
            _free(pointer);
        }
    };
    Module.hashigoroWithBytes = (bytes, call) => {
        const pointer = _malloc(Math.max(1, bytes.length));
        if (!pointer) {
            throw new Error('no memory for the file');
        }
        HEAPU8.set(bytes, pointer);
        try {
            return call(pointer, bytes.length);
        } finally {
            _free(pointer);
        }
    };
    Module.hashigoroPost = (kind, target) => Module.hashigoroWithText(kind, kindText =>
        Module.hashigoroWithText(target, targetText => _hashigoro_post(kindText, targetText)));
});

// Clicks reach the program through one listener on the document, never through the elements
// themselves: a window made anew leaves nothing behind that holds its old elements (and their
// canvas) alive.
EM_JS(void, WatchClicks, (), {
    Module.hashigoroClickIds = new Set();
    document.addEventListener('click', event => {
        for (let element = event.target; element instanceof Element; element = element.parentElement) {
            if (element.id && Module.hashigoroClickIds.has(element.id)) {
                event.preventDefault();
                Module.hashigoroPost('Click', element.id);
                return;
            }
        }
    });
});

EM_JS(void, AddClickTarget, (const char* id), {
    Module.hashigoroClickIds.add(UTF8ToString(id));
});

EM_JS(void, AddInputListener, (const char* id), {
    const element = document.getElementById(UTF8ToString(id));
    element.addEventListener('input', () => Module.hashigoroPost('Input', element.id));
    element.addEventListener('change', () => Module.hashigoroPost('Change', element.id));
});

// Whether the key being pressed belongs to an input method's conversion: the Enter that commits
// Japanese text must not answer a dialog, nor the Escape that cancels it close one (WebKit
// reports them with key code 229).
EM_JS(void, WatchComposition, (), {
    document.addEventListener('keydown', event => {
        Module.hashigoroComposing = event.isComposing || event.keyCode === 229;
    }, true);
});

EM_JS(int, Composing, (), {
    return Module.hashigoroComposing ? 1 : 0;
});

// A dialog that the browser closes while the program waits for its answer (a back gesture,
// close()) is told to the program.
EM_JS(void, WatchDialogClose, (const char* id), {
    const dialog = document.getElementById(UTF8ToString(id));
    dialog.addEventListener('close', () => {
        // Closed and opened again by the program meanwhile, it is still waiting, and open.
        if (dialog.dataset.waiting && !dialog.open) {
            Module.hashigoroPost('Key', 'Closed');
        }
    });
});

// A task queued from a frame's own callback runs once that frame is on its way to the screen:
// work it starts delays no frame that is due.
EM_JS(void, PostAfterPaint, (const char* target), {
    const id = UTF8ToString(target);
    requestAnimationFrame(() => setTimeout(() => Module.hashigoroPost('Wake', id), 0));
});

// Safari has no idle callback: there, after a while.
EM_JS(void, PostWhenIdle, (const char* target), {
    const id = UTF8ToString(target);
    const wake = () => Module.hashigoroPost('Wake', id);
    if (window.requestIdleCallback) {
        requestIdleCallback(wake, { timeout: 5000 });
    } else {
        setTimeout(wake, 2000);
    }
});

EM_JS(void, Signal, (), {
    const resolve = Module.hashigoroSignal;
    if (resolve) {
        Module.hashigoroSignal = null;
        resolve();
    }
});
// clang-format on

// The page's one queue, for the events that reach it through the module.
PageEvents* gEvents = nullptr;

PageEvents& Events(void* userData) {
    return *static_cast<PageEvents*>(userData);
}

EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* key, void* userData) {
    PageEvents& events = Events(userData);
    const bool escape = std::strcmp(key->key, "Escape") == 0;
    if (escape && Composing()) {
        // It cancels a conversion, nothing more; an open dialog stays open.
        return events.DialogOpen() ? EM_TRUE : EM_FALSE;
    }
    if (!events.DialogOpen()) {
        if (escape) {
            // It closes the answer sheet or the help window. Its default is taken from it: the
            // box that closing the help opens would otherwise be closed by the same key.
            events.Post({PageEvent::Kind::Key, "Escape"});
            return EM_TRUE;
        }
        return EM_FALSE;
    }
    if (escape) {
        // The dialog decides; the browser would close it on its own.
        events.Post({PageEvent::Kind::Key, "Escape"});
        return EM_TRUE;
    }
    if (std::strcmp(key->key, "Enter") == 0 && !Composing()) {
        const emscripten::val focused = emscripten::val::global("document")["activeElement"];
        if (!focused.isNull() && focused["tagName"].as<std::string>() == "INPUT") {
            events.Post({PageEvent::Kind::Key, "Enter"});
            return EM_TRUE;
        }
    }
    // Y and N answer a yes/no box, as its captions はい(Y) and いいえ(N) say; typed into an entry
    // they stay letters.
    const bool plain = !key->ctrlKey && !key->altKey && !key->metaKey && !Composing();
    if (plain && (std::strcmp(key->key, "y") == 0 || std::strcmp(key->key, "Y") == 0)) {
        events.Post({PageEvent::Kind::Key, "Y"});
    } else if (plain && (std::strcmp(key->key, "n") == 0 || std::strcmp(key->key, "N") == 0)) {
        events.Post({PageEvent::Kind::Key, "N"});
    }
    return EM_FALSE;  // Enter and Space on a button click it, as they should
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent*, void* userData) {
    Events(userData).Post({PageEvent::Kind::Visibility, {}});
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void* userData) {
    Events(userData).Post({PageEvent::Kind::Resize, {}});
    return EM_FALSE;
}

void OnWake(void* userData) {
    Events(userData).Post({PageEvent::Kind::Wake, {}});
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void hashigoro_post(const char* kind, const char* target) {
    static constexpr std::pair<const char*, PageEvent::Kind> kKinds[] = {
        {"Click", PageEvent::Kind::Click},   {"Input", PageEvent::Kind::Input},
        {"Change", PageEvent::Kind::Change}, {"Key", PageEvent::Kind::Key},
        {"Wake", PageEvent::Kind::Wake},
    };
    for (const auto& [name, value] : kKinds) {
        if (gEvents && std::strcmp(kind, name) == 0) {
            gEvents->Post({value, target});
        }
    }
}

PageEvents::PageEvents() {
    gEvents = this;
    InstallCalls();
    WatchComposition();
    WatchClicks();
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, this, EM_FALSE, &OnKey);
    emscripten_set_visibilitychange_callback(this, EM_FALSE, &OnVisibility);
    emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_FALSE, &OnResize);
}

void PageEvents::ListenForClicks(const std::string& id) {
    AddClickTarget(id.c_str());
}

void PageEvents::ListenForInput(const std::string& id) {
    AddInputListener(id.c_str());
}

void PageEvents::ListenForClose(const std::string& id) {
    WatchDialogClose(id.c_str());
}

PageEvent PageEvents::Wait() {
    while (queue_.empty()) {
        AwaitSignal();
    }
    PageEvent event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

void PageEvents::WakeAfter(double ms) {
    if (wake_ != 0) {
        emscripten_clear_timeout(wake_);
        wake_ = 0;
    }
    if (ms >= 0) {
        wake_ = emscripten_set_timeout(
            [](void* userData) {
                auto& events = *static_cast<PageEvents*>(userData);
                events.wake_ = 0;
                OnWake(userData);
            },
            ms, this);
    }
}

void PageEvents::WakeAfterPaint(const std::string& target) {
    PostAfterPaint(target.c_str());
}

void PageEvents::WakeWhenIdle(const std::string& target) {
    PostWhenIdle(target.c_str());
}

void PageEvents::Post(PageEvent event) {
    queue_.push_back(std::move(event));
    Signal();
}

}  // namespace hashigoro::web
