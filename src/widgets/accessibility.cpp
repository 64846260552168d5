#include "widgets/accessibility.h"

#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_tabs.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWindow>
#include <limits>
#include <optional>
#include <vector>

namespace tkv {

namespace {

QString without_mnemonic(QString text) {
    text.replace(QLatin1String("&&"), QLatin1String("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text.trimmed();
}

// One tab of a strip: named by its text, selected when it is the strip's tab, pressed to select it.
class TabElement : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    TabElement(TTKV_Tabs* tabs, int index) : tabs_(tabs), index_(index) {}

    bool isValid() const override { return tabs_ && index_ < tabs_->tabs().size(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return tabs_ ? tabs_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(tabs_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? without_mnemonic(tabs_->tabs().at(index_)) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = tabs_->tabRect(index_);
        return r.isEmpty() ? QRect() : QRect(tabs_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.selectable = true;
        s.selected = isValid() && tabs_->tabIndex() == index_;
        s.invisible = rect().isEmpty();
        s.disabled = tabs_ && !tabs_->isEnabled();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && tabs_->isEnabled()) tabs_->setTabIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<TTKV_Tabs> tabs_;
    int index_;
};

// The strip: a list of page tabs. Its scroll arrows are left out: every tab is there by itself.
class TabsElement : public QAccessibleWidget {
  public:
    explicit TabsElement(TTKV_Tabs* tabs) : QAccessibleWidget(tabs, QAccessible::PageTabList) {}
    ~TabsElement() override {
        for (QAccessible::Id id : ids_)
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return static_cast<int>(strip()->tabs().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        while (static_cast<int>(ids_.size()) <= index)
            ids_.push_back(QAccessible::registerAccessibleInterface(
                new TabElement(strip(), static_cast<int>(ids_.size()))));
        return QAccessible::accessibleInterface(ids_[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < static_cast<int>(ids_.size()); ++i)
            if (QAccessible::accessibleInterface(ids_[static_cast<std::size_t>(i)]) == child) return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* tab = child(i); tab->rect().contains(x, y)) return tab;
        return nullptr;
    }

  private:
    TTKV_Tabs* strip() const { return static_cast<TTKV_Tabs*>(widget()); }
    mutable std::vector<QAccessible::Id> ids_;
};

// A frame is the border of its control and carries the control's name.
class FrameElement : public QAccessibleWidget {
  public:
    explicit FrameElement(TTKV_Frame* frame) : QAccessibleWidget(frame, QAccessible::Border) {}
    QString text(QAccessible::Text t) const override {
        QWidget* control = static_cast<TTKV_Frame*>(widget())->control();
        if (t != QAccessible::Name || !control) return QAccessibleWidget::text(t);
        QAccessibleInterface* inner = QAccessible::queryAccessibleInterface(control);
        return inner ? inner->text(QAccessible::Name) : QString();
    }
};

QAccessibleInterface* widgets_factory(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String("tkv::TTKV_Tabs"))
        return new TabsElement(static_cast<TTKV_Tabs*>(object));
    if (class_name == QLatin1String("tkv::TTKV_Frame"))
        return new FrameElement(static_cast<TTKV_Frame*>(object));
    return nullptr;
}

// Controls whose name comes from a label rather than from a caption of their own.
bool needs_label(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const TTKV_Tabs*>(w);
}

// How far a label sits from the control it captions; nothing when it does not caption it.
std::optional<int> caption_distance(const QRect& label, const QRect& control) {
    constexpr int slack = 4;
    // Above: ending at most 16 pixels over the control, starting near its left edge.
    if (label.bottom() <= control.top() + slack && control.top() - label.bottom() <= 16 &&
        label.left() >= control.left() - 12 && label.left() < control.right())
        return control.top() - label.bottom() + std::abs(label.left() - control.left()) / 8;
    // Left: on the same line, ending at most 60 pixels before it.
    if (label.right() <= control.left() + slack && control.left() - label.right() <= 60 &&
        std::abs(label.center().y() - control.center().y()) <= std::max(label.height(), control.height()) / 2)
        return control.left() - label.right();
    return std::nullopt;
}

} // namespace

void install_widget_accessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(widgets_factory);
        return true;
    }();
    (void)installed;
}

void name_controls_by_labels(QWidget* root) {
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    const auto placed = [root](const QWidget* w) { return QRect(w->mapTo(root, QPoint(0, 0)), w->size()); };
    for (QWidget* control : root->findChildren<QWidget*>()) {
        if (!control->accessibleName().isEmpty()) continue;
        // A button showing only an icon says what it does in its tooltip.
        if (auto* button = qobject_cast<QAbstractButton*>(control); button && button->text().isEmpty()) {
            control->setAccessibleName(control->toolTip());
            continue;
        }
        if (!needs_label(control)) continue;
        QLabel* best = nullptr;
        int best_distance = std::numeric_limits<int>::max();
        for (QLabel* label : labels) {
            // On the control's own panel or one holding it, never on a panel beside it; a label
            // without text yet still serves, as the caption it will show.
            if (!label->parentWidget()->isAncestorOf(control) ||
                (label->buddy() && label->buddy() != control))
                continue;
            const std::optional<int> d = caption_distance(placed(label), placed(control));
            if (d && *d < best_distance) {
                best = label;
                best_distance = *d;
            }
        }
        if (!best) continue;
        // Most controls read their buddy's caption as it is at the time; views need it given.
        best->setBuddy(control);
        QAccessibleInterface* element = QAccessible::queryAccessibleInterface(control);
        if (element && element->text(QAccessible::Name).trimmed().isEmpty())
            control->setAccessibleName(without_mnemonic(best->text()));
    }
}

} // namespace tkv
