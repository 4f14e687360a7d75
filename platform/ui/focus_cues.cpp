// Keyboard cues, as desktop dialog managers show them: while the user taps nothing shows where
// the focus is; from the first key press on, the control with the focus has a dotted frame
// around it. Differs from the platform: its controls drew their own focus rectangles (and the
// program's owner-drawn rows chose to draw none); here one frame follows the focus for every
// control, and the style's own focus rectangles are not drawn.
#include <QApplication>
#include <QFocusFrame>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>

#include "platform/ui/window.h"

namespace platform::ui {
namespace {

bool cuesShown = false;

// A frame one pixel around the focused control, above its siblings, letting taps through. Not a
// child any screen reader lists (Qt leaves focus frames out).
class FocusCueFrame : public QFocusFrame {
  public:
    FocusCueFrame() {
        setObjectName(QStringLiteral("FocusCue"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void frame(QWidget* control) {
        control_ = control;
        if (parentWidget() != control->parentWidget()) setParent(control->parentWidget());
        setGeometry(control->geometry().adjusted(-1, -1, 1, 1));
        raise();
        show();
        update();
    }
    QPointer<QWidget> control_;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        drawFocusFrame(painter, rect());
    }
};

QPointer<FocusCueFrame> frame;

// A picture with parts frames the part the arrow keys reached itself.
bool framesItself(QWidget* widget) {
    Window* window = windowOf(widget);
    return window && !window->accessibleParts.empty();
}

bool wantsFrame(QWidget* widget) {
    if (!widget || widget->isWindow() || !widget->parentWidget()) return false;
    if ((widget->window()->windowFlags() & Qt::Popup) == Qt::Popup) return false;
    Window* window = windowOf(widget);
    if (window && (window->kind == Kind::Dialog || window->kind == Kind::Shell)) return false;
    return !framesItself(widget);
}

void follow() {
    QWidget* focus = QApplication::focusWidget();
    const bool show = cuesShown && wantsFrame(focus);
    if (!frame) {
        if (!show) return;
        frame = new FocusCueFrame;
    }
    if (!show) {
        frame->hide();
        return;
    }
    frame->frame(focus);
}

void updateFramingWidgets() {
    // A picture's part frame is drawn by the picture.
    if (QWidget* focus = QApplication::focusWidget())
        if (framesItself(focus)) focus->update();
}

class CueStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameFocusRect) return; // the cue frame shows the focus
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

void drawFocusFrame(QPainter& painter, const QRect& area) {
    QPen pen(Qt::black, 1);
    pen.setDashPattern({1, 1});
    painter.save();
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.restore();
}

void setFocusCues(bool shown) {
    static bool following = false;
    if (!following && qApp) {
        following = true;
        QObject::connect(qApp, &QApplication::focusChanged, qApp, [] { follow(); });
    }
    if (cuesShown == shown) return;
    cuesShown = shown;
    follow();
    updateFramingWidgets();
}

bool focusCuesShown() {
    return cuesShown;
}

QStyle* withFocusCues(QStyle* base) {
    return new CueStyle(base);
}

} // namespace platform::ui
