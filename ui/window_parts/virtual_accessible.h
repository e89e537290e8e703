#pragma once

#include <QAccessible>

namespace hashigoro {

// A part of a window that a screen reader reads though no widget of its own stands for it (a
// bar, a line of text, a cell of a chart's table): read-only, with no children unless it says
// otherwise, in its parent's window. Subclasses give its role, its text and its place.
class VirtualAccessible : public QAccessibleInterface {
  public:
    explicit VirtualAccessible(QAccessibleInterface* parent) : parent_(parent) {}

    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* parent() const override { return parent_; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.readOnly = true;
        return state;
    }
    void setText(QAccessible::Text, const QString&) override {}

  private:
    QAccessibleInterface* parent_;
};

}  // namespace hashigoro
