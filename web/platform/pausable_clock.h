#pragma once

namespace hashigoro::web {

// The experiment's clock on a page: the page's own milliseconds, standing still while the page
// is hidden, so that a class that comes back to the tab finds the experiment where it was, not
// a burst of trials.
class PausableClock {
  public:
    // The reading at page time `pageMs`.
    double Now(double pageMs) const;

    void Hide(double pageMs);
    void Show(double pageMs);
    bool Hidden() const { return hidden_; }

  private:
    double hiddenSince_ = 0;
    double hiddenTotal_ = 0;
    bool hidden_ = false;
};

}  // namespace hashigoro::web
