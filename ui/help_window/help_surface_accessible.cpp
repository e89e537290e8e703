#include "help_surface_accessible.h"

#include <QAccessibleWidget>
#include <vector>

#include "catalogue.h"
#include "help_surface.h"
#include "virtual_accessible.h"

namespace hashigoro {

namespace {

// One printed line, as text.
class LineAccessible final : public VirtualAccessible {
  public:
    LineAccessible(QAccessibleInterface* document, const HelpSurface& surface, int line)
        : VirtualAccessible(document), surface_(surface), line_(line) {}

    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QString text(QAccessible::Text t) const override {
        // Without the ideographic spaces that indent it and spread its headings.
        return t == QAccessible::Name && line_ < surface_.Lines().size()
                   ? QString::fromStdString(texts::Spoken(surface_.Lines()[line_].toStdString()))
                   : QString();
    }
    QRect rect() const override {
        const QRect inner = surface_.contentsRect();
        const int height = surface_.fontMetrics().height();
        return QRect(surface_.mapToGlobal(QPoint(inner.left(), inner.top() + line_ * height)),
                     QSize(inner.width(), height));
    }

  private:
    const HelpSurface& surface_;
    int line_;
};

// The surface: a document of the lines that are not empty.
class DocumentAccessible final : public QAccessibleWidget {
  public:
    explicit DocumentAccessible(HelpSurface* surface)
        : QAccessibleWidget(surface, QAccessible::Document) {}
    ~DocumentAccessible() override {
        for (const QAccessible::Id id : ids_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    int childCount() const override { return static_cast<int>(Lines().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QAccessibleInterface*>& lines = Lines();
        return index >= 0 && index < static_cast<int>(lines.size())
                   ? lines[static_cast<std::size_t>(index)]
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QAccessibleInterface*>& lines = Lines();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == child) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

  private:
    // Made for the lines printed so far, once each.
    const std::vector<QAccessibleInterface*>& Lines() const {
        const auto& surface = *static_cast<const HelpSurface*>(widget());
        for (int n = static_cast<int>(made_.size()); n < surface.Lines().size(); ++n) {
            made_.push_back(n);
            if (!surface.Lines()[n].trimmed().isEmpty()) {
                auto* line = new LineAccessible(const_cast<DocumentAccessible*>(this), surface, n);
                ids_.push_back(QAccessible::registerAccessibleInterface(line));
                lines_.push_back(line);
            }
        }
        return lines_;
    }

    mutable std::vector<int> made_;
    mutable std::vector<QAccessibleInterface*> lines_;  // owned by the cache, by id
    mutable std::vector<QAccessible::Id> ids_;
};

}  // namespace

QAccessibleInterface* HelpSurfaceAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("hashigoro::HelpSurface")) {
        return new DocumentAccessible(static_cast<HelpSurface*>(object));
    }
    // The window itself, read as a window rather than a plain pane.
    if (className == QLatin1String("hashigoro::Form2")) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

}  // namespace hashigoro
