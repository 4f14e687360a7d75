// Names of the controls of a dialog, by the platform's rule for dialogs: a control without text
// of its own is read by the static that labels it. Differs from the platform: its rule takes the
// static just before the control in the template's order; these templates often list the label
// after its control, so the label is found where a reader sees it: beside the control on its row
// (to its right for a check box or a picture, to its left otherwise), or just above it.
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

bool isTextStatic(const Window* window) {
    return window->kind == Kind::Static && (window->style & kStaticTypeMask) != SS_BITMAP &&
           !window->text.empty() && window->widget;
}

bool wantsLabel(const Window* window) {
    if (!window->text.empty() || !window->widget) return false;
    switch (window->kind) {
    case Kind::Edit:
    case Kind::MultiLineEdit:
    case Kind::ComboBox:
    case Kind::ListBox:
    case Kind::TreeView:
    case Kind::ScrollBar:
    case Kind::CheckBox:
    case Kind::PushButton:
        return true;
    case Kind::Static:
        return (window->style & kStaticTypeMask) == SS_BITMAP && (window->style & SS_NOTIFY);
    default:
        return false;
    }
}

bool labelOnTheRight(const Window* window) {
    return window->kind == Kind::CheckBox || window->kind == Kind::Static;
}

bool sharesRow(const QRect& a, const QRect& b) {
    return a.top() < b.bottom() && b.top() < a.bottom();
}
bool sharesColumn(const QRect& a, const QRect& b) {
    return a.left() < b.right() && b.left() < a.right();
}

// The label of a control, or null: beside it on its row, else just above it (within a line).
Window* labelOf(Window* dialog, Window* control) {
    const QRect own = control->widget->geometry();
    Window* best = nullptr;
    long bestDistance = LONG_MAX;
    auto consider = [&](Window* label, long distance) {
        if (distance < bestDistance) {
            best = label;
            bestDistance = distance;
        }
    };
    for (Window* label : dialog->children) {
        if (!isTextStatic(label)) continue;
        const QRect r = label->widget->geometry();
        if (!sharesRow(r, own)) continue;
        const long offRow = std::abs(r.center().y() - own.center().y());
        if (labelOnTheRight(control) && r.center().x() > own.right())
            consider(label, offRow * 1000 + (r.left() - own.right()));
        else if (!labelOnTheRight(control) && r.center().x() < own.left() && r.left() < own.left())
            consider(label, offRow * 1000 + (own.left() - r.right()));
    }
    if (best || labelOnTheRight(control)) return best;
    for (Window* label : dialog->children) {
        if (!isTextStatic(label)) continue;
        const QRect r = label->widget->geometry();
        const int gap = own.top() - r.bottom();
        if (gap >= 0 && gap <= dialog->baseY && sharesColumn(r, own)) consider(label, gap);
    }
    return best;
}

QString nameOf(const Window* label) {
    QString name = displayText(label->text);
    if (!(label->style & SS_NOPREFIX)) name = withoutPrefix(name);
    return name.simplified(); // a label of two lines is read as one
}

// An owner-drawn button without text is read out by the label that lies on it.
void nameOwnerDrawnButtons(Window* dialog) {
    for (Window* button : dialog->children) {
        if (button->kind != Kind::OwnerDrawButton || !button->text.empty() || !button->widget) continue;
        const QRect area = button->widget->geometry();
        for (Window* label : dialog->children) {
            if (label->kind != Kind::Static || label->text.empty() || !label->widget) continue;
            if (!area.contains(label->widget->geometry().center())) continue;
            button->widget->setAccessibleName(nameOf(label));
            break;
        }
    }
}

// A notifying text that no button lies under (a link of its own) can be reached with Tab.
void letKeysReachLinks(Window* dialog) {
    for (Window* link : dialog->children) {
        if (!isTextStatic(link) || !(link->style & SS_NOTIFY)) continue;
        const QPoint middle = link->widget->geometry().center();
        const bool onAButton =
            std::any_of(dialog->children.begin(), dialog->children.end(), [&](Window* other) {
                return other->kind == Kind::OwnerDrawButton && (other->style & WS_TABSTOP) && other->widget &&
                       other->widget->geometry().contains(middle);
            });
        if (!onAButton) link->widget->setFocusPolicy(Qt::TabFocus);
    }
}

} // namespace

void nameControls(Window* dialog) {
    for (Window* control : dialog->children) {
        if (!wantsLabel(control)) continue;
        Window* label = labelOf(dialog, control);
        if (!label) continue;
        setControlName(control->widget, nameOf(label));
        control->widget->setProperty("namedByLabel", true);
        if (auto* text = qobject_cast<QLabel*>(label->widget.data())) {
            text->setBuddy(control->widget);
            text->setAccessibleName(nameOf(label)); // readers take a labelled control's name from it
        }
    }
    nameOwnerDrawnButtons(dialog);
    letKeysReachLinks(dialog);
}

void setControlName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    // A combo box's dropped list is named as the box.
    if (auto* combo = qobject_cast<QComboBox*>(control)) combo->view()->setAccessibleName(name);
    // A scroll bar is read as the scrolling of its edit.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        const QString scrolling =
            name.isEmpty() ? QStringLiteral("Bildlauf") : name + QStringLiteral(" Bildlauf");
        area->verticalScrollBar()->setAccessibleName(scrolling);
        area->horizontalScrollBar()->setAccessibleName(scrolling);
    }
}

// A label that changes its text renames the control it labels.
void renameLabelled(Window* label) {
    auto* text = qobject_cast<QLabel*>(label->widget.data());
    QWidget* control = text ? text->buddy() : nullptr;
    if (control && control->property("namedByLabel").toBool()) {
        setControlName(control, nameOf(label));
        text->setAccessibleName(nameOf(label));
    }
}

QString readableText(const QString& shown) {
    return shown.trimmed().isEmpty() ? QStringLiteral("Leerzeile") : shown;
}

} // namespace platform::ui::controls
