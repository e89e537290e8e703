#include "main_window_accessible.h"

#include <QAccessibleWidget>
#include <algorithm>
#include <vector>

#include "catalogue.h"
#include "ladder_surface.h"
#include "main_window.h"
#include "virtual_accessible.h"

namespace hashigoro {

namespace {

// The squares shown in bar `bar` (1..10) of the ladder.
int BarCount(const LadderSurface& ladder, int bar) {
    int count = 0;
    for (int index = 1; index <= LadderSurface::kSquares; ++index) {
        count += ladder.TallySquare(bar, index)->isHidden() ? 0 : 1;
    }
    return count;
}

QRect GlobalRect(const QWidget& widget) {
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

// One bar: its line and count as a sentence, and the count as a value out of 20.
class BarAccessible final : public VirtualAccessible, public QAccessibleValueInterface {
  public:
    BarAccessible(QAccessibleInterface* list, const LadderSurface& ladder, int bar)
        : VirtualAccessible(list), ladder_(ladder), bar_(bar) {}

    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name
                   ? QString::fromStdString(texts::Format(
                         TextId::BarSpoken, {std::to_string(bar_), std::to_string(Count())}))
                   : QString();
    }
    QRect rect() const override {
        QRect bar;
        for (int index = 1; index <= LadderSurface::kSquares; ++index) {
            bar |= GlobalRect(*ladder_.TallySquare(bar_, index));
        }
        return bar;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : nullptr;
    }

    QVariant currentValue() const override { return Count(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return LadderSurface::kSquares; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

  private:
    int Count() const { return BarCount(ladder_, bar_); }

    const LadderSurface& ladder_;
    int bar_;
};

// The ten bars as one list, after the ladder.
class BarsAccessible final : public VirtualAccessible {
  public:
    BarsAccessible(QAccessibleInterface* window, const LadderSurface& ladder)
        : VirtualAccessible(window) {
        for (int bar = 1; bar <= LadderSurface::kBars; ++bar) {
            bars_.push_back(new BarAccessible(this, ladder, bar));
            ids_.push_back(QAccessible::registerAccessibleInterface(bars_.back()));
        }
    }
    ~BarsAccessible() override {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QAccessibleInterface* Bar(int bar) const { return bars_.at(static_cast<std::size_t>(bar - 1)); }

    QAccessibleInterface* child(int index) const override {
        return index >= 0 && index < static_cast<int>(bars_.size())
                   ? bars_[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    int childCount() const override { return static_cast<int>(bars_.size()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto at = std::find(bars_.begin(), bars_.end(), child);
        return at == bars_.end() ? -1 : static_cast<int>(at - bars_.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (QAccessibleInterface* bar : bars_) {
            if (bar->rect().contains(x, y)) {
                return bar;
            }
        }
        return nullptr;
    }
    QAccessible::Role role() const override { return QAccessible::List; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name
                   ? QString::fromStdString(std::string(texts::Text(TextId::BarsSpoken)))
                   : QString();
    }
    QRect rect() const override {
        QRect all;
        for (QAccessibleInterface* bar : bars_) {
            all |= bar->rect();
        }
        return all;
    }

  private:
    std::vector<QAccessibleInterface*> bars_;  // owned by the accessibility cache, by id
    std::vector<QAccessible::Id> ids_;
};

// The ladder: one graphic, named, described; its squares are read through the bars' list.
class LadderAccessible final : public QAccessibleWidget {
  public:
    explicit LadderAccessible(QWidget* ladder) : QAccessibleWidget(ladder, QAccessible::Graphic) {}

    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
};

// The main window: what is shown, in its own order, with the bars' list after the ladder.
class WindowAccessible final : public QAccessibleWidget {
  public:
    explicit WindowAccessible(Form1* window)
        : QAccessibleWidget(window, QAccessible::Window),
          bars_(new BarsAccessible(this, *window->Picture1())),
          barsId_(QAccessible::registerAccessibleInterface(bars_)) {}
    // The cache owns what it holds by id: the list goes with the window.
    ~WindowAccessible() override { QAccessible::deleteAccessibleInterface(barsId_); }

    BarsAccessible& Bars() const { return *bars_; }

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*> children = Children();
        return index >= 0 && index < static_cast<int>(children.size())
                   ? children[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*> children = Children();
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (children[i] == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

  private:
    std::vector<QAccessibleInterface*> Children() const {
        std::vector<QAccessibleInterface*> children;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isHidden()) {
                continue;
            }
            // A drawn rule is nothing to read.
            QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(child);
            if (shown && shown->role() != QAccessible::Client) {
                children.push_back(shown);
            }
            if (qobject_cast<LadderSurface*>(child)) {
                children.push_back(bars_);
            }
        }
        return children;
    }

    BarsAccessible* bars_;
    QAccessible::Id barsId_;
};

}  // namespace

QAccessibleInterface* MainWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("hashigoro::Form1")) {
        return new WindowAccessible(static_cast<Form1*>(object));
    }
    if (className == QLatin1String("hashigoro::LadderSurface")) {
        return new LadderAccessible(static_cast<QWidget*>(object));
    }
    return nullptr;
}

void BarCountChanged(Form1& window, int bar) {
    if (!QAccessible::isActive()) {
        return;
    }
    auto* accessible =
        dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(&window));
    if (!accessible) {
        return;
    }
    QAccessibleInterface* item = accessible->Bars().Bar(bar);
    QAccessibleEvent named(item, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    QAccessibleValueChangeEvent counted(item, BarCount(*window.Picture1(), bar));
    QAccessible::updateAccessibility(&counted);
}

}  // namespace hashigoro
