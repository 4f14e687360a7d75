// Layer-internal: the accessible face of the layer's windows, beyond what Qt gives a widget.
// Every action here travels the message path a tap or a key would take, so the dialog hears the
// very messages it hears from the stylus.
#pragma once

#include <QAccessibleWidget>
#include <QPoint>
#include <functional>
#include <vector>

#include "platform/ui/window.h"

namespace platform::ui::controls {

class WindowAccessible : public QAccessibleWidget {
  public:
    // A press at a point of the window's client area (device pixels), as a tap there.
    using Press = std::function<void(Window* window, QPoint at)>;
    WindowAccessible(QWidget* widget, QAccessible::Role role, Press press = {});
    ~WindowAccessible() override;

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QAccessibleInterface* focusChild() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>>
    relations(QAccessible::Relation match = QAccessible::AllRelations) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QStringList actionNames() const override;
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString& name) const override;

    void pressAt(QPoint at) const; // the parts press through their owner

  private:
    void syncParts() const;
    QAccessible::Role role_;
    Press press_;
    mutable std::vector<QAccessible::Id> parts_;
    mutable int partsVersion_ = -1;
};

// Where a press of a picture's part taps it, from the keyboard or a screen reader.
QPoint middleOf(const platform::AccessiblePart& part);

// Sends readers the change of `state` ("expanded") of `object` where Qt's bridge sends none.
// False when no reader's bus is there.
bool tellReadersStateChanged(QAccessibleInterface* object, const QString& state, bool on);

// Whether the middle of another control of the dialog (not a static) lies on `self`.
bool holdsControls(Window* self);

} // namespace platform::ui::controls
