#pragma once

#include <deque>
#include <string>

namespace hashigoro::web {

// What happened on the page, in the order it happened.
struct PageEvent {
    enum class Kind {
        Click,       // `target` was clicked, tapped, or pressed with Enter or Space
        Key,         // a key for a dialog: Enter in its entry, Escape, Y or N; "Closed" when
                     // the browser closed it without one (a back gesture); Escape elsewhere
        Wake,        // the time asked for with WakeAfter() has come; `target` names the
                     // one who asked with WakeAfterPaint()
        Visibility,  // the page was hidden or shown again
        Resize,      // the viewport or its pixel ratio changed
        Switch,      // a window asked to give way to another (after its handler returned)
        Input,       // the value of the control `target` changed
        Change,      // the value of the control `target` was settled (Enter, or leaving it)
    };
    Kind kind = Kind::Wake;
    std::string target;
};

// The page's one queue of events, which the program takes one at a time, as a desktop's event
// loop does; a modal dialog takes them in a loop of its own until it closes. Waiting lets the
// browser run (and paint) meanwhile.
class PageEvents {
  public:
    // Listens to the document: keys, visibility and size.
    PageEvents();
    PageEvents(const PageEvents&) = delete;
    PageEvents& operator=(const PageEvents&) = delete;

    // Clicks on the element `id`, or inside it, become Click events; an element made anew
    // with the same id is heard too.
    void ListenForClicks(const std::string& id);
    // Changes of the value of the control `id` (a slider, a number, a choice) become Input
    // events, and its settled value a Change event.
    void ListenForInput(const std::string& id);
    // The dialog `id` closed by the browser while its data-waiting attribute is set becomes a
    // Key event "Closed".
    void ListenForClose(const std::string& id);

    // The next event, waiting for one if there is none yet.
    PageEvent Wait();

    // One Wake event after `ms` milliseconds, in place of any asked for before; a negative
    // value asks for none.
    void WakeAfter(double ms);
    // One Wake event for `target` once the next frame has been painted, for work that may
    // wait but should be done before the next input comes.
    void WakeAfterPaint(const std::string& target);
    // One Wake event for `target` when the page is next idle, for work that can wait longer.
    void WakeWhenIdle(const std::string& target);

    void Post(PageEvent event);

    // While a dialog is open, Escape and Enter in its entry are its own, not the browser's.
    void SetDialogOpen(bool open) { dialogOpen_ = open; }
    bool DialogOpen() const { return dialogOpen_; }

  private:
    std::deque<PageEvent> queue_;
    long wake_ = 0;
    bool dialogOpen_ = false;
};

}  // namespace hashigoro::web
