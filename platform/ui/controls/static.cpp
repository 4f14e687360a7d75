// Statics: text and pictures. Without SS_NOTIFY a tap goes through to what lies below them, as
// the platform's do; with it the dialog hears where the stylus is, then STN_CLICKED.
#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QTextLayout>
#include <QFontInfo>
#include <cmath>
#include <vector>
#include <algorithm>

#include "platform/gdi/gdi_internal.h"
#include "platform/ui/controls/accessible.h"
#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

// A static with both a border and a static edge: a black line outside a sunken one, each one
// device pixel wide, drawn by the control itself.
constexpr int kBorderAndEdge = 2;
bool bordersAnEdge(DWORD style, DWORD exStyle) {
    return (style & WS_BORDER) && ((exStyle & WS_EX_STATICEDGE) || (style & SS_SUNKEN));
}

// A tap at a point of a notifying static without the stylus: the dialog hears where (in its own
// client coordinates), then STN_CLICKED, as from a real tap.
void tapAt(Window* window, QPoint at) {
    const HWND handle = window;
    if (window->parent && window->parent->widget && window->widget) {
        const QPoint p = at + devicePosition(window->widget) - devicePosition(window->parent->widget);
        sendObserved(window->parent, WM_MOUSEMOVE, 0x0001,
                     MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
    }
    if (Window* still = live(handle)) sendCommand(still, STN_CLICKED);
}

// QLabel keeps a whole text document (a layout of its own, laid out first in the application's
// font) for every text label that can take the focus, to select its text; a static only shows
// plain text, so a link's focus policy is hidden from the label where it decides that.
class FocusPolicyHidden {
  public:
    explicit FocusPolicyHidden(QWidget* widget) : widget_(widget), policy_(widget->focusPolicy()) {
        if (policy_ != Qt::NoFocus) widget_->setFocusPolicy(Qt::NoFocus);
    }
    ~FocusPolicyHidden() {
        if (policy_ != Qt::NoFocus) widget_->setFocusPolicy(policy_);
    }
    FocusPolicyHidden(const FocusPolicyHidden&) = delete;
    FocusPolicyHidden& operator=(const FocusPolicyHidden&) = delete;

  private:
    QWidget* widget_;
    Qt::FocusPolicy policy_;
};

class StaticControl : public QLabel {
  public:
    explicit StaticControl(QWidget* parent) : QLabel(parent) {}

    void showText(const QString& text) {
        FocusPolicyHidden hidden(this);
        setText(text);
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::Polish) return QLabel::event(event);
        FocusPolicyHidden hidden(this);
        return QLabel::event(event);
    }
    // The focus frame is drawn in paintEvent; the label's own focus handling would make the text
    // document for selecting.
    void focusInEvent(QFocusEvent* event) override {
        QFrame::focusInEvent(event); // NOLINT(bugprone-parent-virtual-call)
    }
    void paintEvent(QPaintEvent* event) override {
        Window* window = windowOf(this);
        if (!window) return QLabel::paintEvent(event);
        PaintScope scope(window);
        if (!applyStaticColors(this, window)) return;
        if (pixmap().isNull() && !text().isEmpty()) {
            QPainter painter(this);
            drawFrame(&painter);
            paintTextByCells(painter);
        } else {
            QLabel::paintEvent(event);
        }
        paintSurface(this, window, contentsRect().topLeft());
        if (bordersAnEdge(window->style, window->exStyle)) paintBorderAndEdge();
        // A picture with parts frames the part the keys reached (other controls get the cue frame).
        const platform::AccessiblePart* part = currentPart(window);
        if (hasFocus() && part && focusCuesShown()) {
            QPainter painter(this);
            drawFocusFrame(painter, areaOf(*part));
        }
    }
    // A link reached with the keyboard opens with Space or Enter, as with a tap; in a picture with
    // parts the arrow keys go from part to part, and the part reached is tapped in its middle.
    void keyPressEvent(QKeyEvent* event) override {
        Window* window = windowOf(this);
        const int key = event->key();
        const platform::AccessiblePart* part = currentPart(window);
        if (part && moveToPart(window, key)) {
            event->accept();
            return;
        }
        if (window && (window->style & SS_NOTIFY) &&
            (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)) {
            event->accept();
            tapAt(window, part ? middleOf(*part) : QRect(QPoint(), deviceSize(this)).center());
            return;
        }
        QLabel::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (!tellDialog(event)) return QLabel::mousePressEvent(event);
        pressed_ = true;
        event->accept();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!tellDialog(event)) return QLabel::mouseMoveEvent(event);
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        Window* window = windowOf(this);
        if (!window || !(window->style & SS_NOTIFY)) return QLabel::mouseReleaseEvent(event);
        event->accept();
        if (pressed_ && rect().contains(event->position().toPoint())) {
            pressed_ = false;
            sendCommand(window, STN_CLICKED);
            return;
        }
        pressed_ = false;
    }

  private:
    // Lines one character cell apart, as the platform spaced them: a font engine spaces them by
    // its unrounded ascent and descent, a little more, which pushes the last line of a label that
    // the template made just tall enough out of its box.
    // The cell is the device's, scaled: measured at the shown size, each rounding would add up
    // line by line at a fractional scale and push the last line out as well.
    void paintTextByCells(QPainter& painter) {
        const QFont shown = font();
        const platform::gdi::CellMetrics metrics = platform::gdi::cellMetrics(shown.family(), shown.weight());
        const double scale = platform::ui::deviceScale();
        // A scaled font is sized in fractional points; its size on the device is that over the scale.
        const double shownPixels = shown.pixelSize() > 0 ? shown.pixelSize()
                                   : shown.pointSizeF() > 0 ? shown.pointSizeF() * logicalDpiY() / 72.0
                                                            : QFontInfo(shown).pixelSize();
        const long pixels = std::lround(shownPixels / scale);
        const long deviceAscent = std::lround(static_cast<double>(pixels) * metrics.ascent);
        const double ascent = static_cast<double>(deviceAscent) * scale;
        const double cell =
            static_cast<double>(std::max(1L, deviceAscent + std::lround(static_cast<double>(pixels) * metrics.descent))) *
            scale;
        QString lines = text();
        lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout layout(lines, shown, this);
        QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
        option.setWrapMode(wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
        layout.setTextOption(option);
        const QRect area = contentsRect();
        std::vector<QTextLine> laid;
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(area.width());
            line.setPosition(QPointF(0, static_cast<double>(laid.size()) * cell + ascent - line.ascent()));
            laid.push_back(line);
        }
        layout.endLayout();
        int top = area.top();
        if (alignment() & Qt::AlignVCenter)
            top += static_cast<int>((area.height() - static_cast<double>(laid.size()) * cell) / 2);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
        painter.setClipRect(area);
        layout.draw(&painter, QPointF(area.left(), top));
    }
    // A black line on all four sides, and inside it the sunken edge: shadow above and left, light
    // below and right. Drawn last, so neither the picture nor the surface covers an edge.
    void paintBorderAndEdge() {
        QPainter painter(this);
        const int line = std::max(1, static_cast<int>(std::lround(platform::ui::deviceScale())));
        const QRect all = rect();
        auto band = [&](const QRect& r, const QColor& top, const QColor& bottom) {
            painter.fillRect(QRect(r.left(), r.top(), r.width(), line), top);
            painter.fillRect(QRect(r.left(), r.top(), line, r.height()), top);
            painter.fillRect(QRect(r.left(), r.bottom() - line + 1, r.width(), line), bottom);
            painter.fillRect(QRect(r.right() - line + 1, r.top(), line, r.height()), bottom);
        };
        band(all, Qt::black, Qt::black);
        band(all.adjusted(line, line, -line, -line), palette().color(QPalette::Dark),
             palette().color(QPalette::Midlight));
    }
    void resizeEvent(QResizeEvent* event) override {
        // The picture lies inside both frames, which are as wide as the device's at any scale.
        if (Window* window = windowOf(this); window && bordersAnEdge(window->style, window->exStyle)) {
            const int m = static_cast<int>(std::lround(kBorderAndEdge * platform::ui::deviceScale()));
            setContentsMargins(m, m, m, m);
        }
        QLabel::resizeEvent(event);
    }
    static const platform::AccessiblePart* currentPart(Window* window) {
        if (!window || window->currentPart >= static_cast<int>(window->accessibleParts.size()))
            return nullptr;
        return &window->accessibleParts[static_cast<std::size_t>(window->currentPart)];
    }
    static QRect areaOf(const platform::AccessiblePart& part) {
        return QRect(QPoint(part.area.left, part.area.top),
                     QPoint(part.area.right - 1, part.area.bottom - 1));
    }
    // Up and Left go to the part before, Down and Right to the next, Home and End to the ends.
    bool moveToPart(Window* window, int key) {
        const int last = static_cast<int>(window->accessibleParts.size()) - 1;
        int next = window->currentPart;
        if (key == Qt::Key_Up || key == Qt::Key_Left) {
            next = std::max(0, next - 1);
        } else if (key == Qt::Key_Down || key == Qt::Key_Right) {
            next = std::min(last, next + 1);
        } else if (key == Qt::Key_Home) {
            next = 0;
        } else if (key == Qt::Key_End) {
            next = last;
        } else {
            return false;
        }
        if (next != window->currentPart) {
            window->currentPart = next;
            update();
            QAccessibleEvent moved(this, QAccessible::Focus);
            moved.setChild(next);
            QAccessible::updateAccessibility(&moved);
        }
        return true;
    }
    // The dialog learns where the stylus is, in its own client coordinates.
    bool tellDialog(QMouseEvent* event) {
        Window* window = windowOf(this);
        if (!window || !(window->style & SS_NOTIFY) || !window->parent || !window->parent->widget)
            return false;
        const QPoint p = deviceOffset(this, event->position()) + devicePosition(this) -
                         devicePosition(window->parent->widget);
        sendObserved(window->parent, WM_MOUSEMOVE, 0x0001,
                     MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
        return true;
    }
    bool pressed_ = false;
};

bool isPicture(DWORD style) {
    return (style & kStaticTypeMask) == SS_BITMAP;
}

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::Static;
    const DWORD style = from.style;
    auto* label = new StaticControl(from.dialog->widget);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAutoFillBackground(false);
    Qt::Alignment align = Qt::AlignTop;
    switch (style & kStaticTypeMask) {
    case SS_CENTER:
        align |= Qt::AlignHCenter;
        break;
    case SS_RIGHT:
        align |= Qt::AlignRight;
        break;
    default:
        align |= Qt::AlignLeft;
        break;
    }
    if (style & SS_CENTERIMAGE) align = (align & ~Qt::AlignTop) | Qt::AlignVCenter;
    label->setAlignment(align);
    const bool edge = (from.item.exStyle & WS_EX_STATICEDGE) || (style & SS_SUNKEN);
    if (edge && (style & WS_BORDER)) {
        // Both frames, the border outside the edge; drawn by the control (bordersAnEdge).
        label->setFrameStyle(QFrame::NoFrame);
        label->setContentsMargins(kBorderAndEdge, kBorderAndEdge, kBorderAndEdge, kBorderAndEdge);
    } else if (edge) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    } else if (style & WS_BORDER) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    }
    if (!(style & SS_NOTIFY)) label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void wire(Window* control, const ControlTemplate& from) {
    if (!isPicture(from.style)) return;
    auto* label = static_cast<QLabel*>(control->widget.data());
    HBITMAP bitmap = LoadBitmapW(from.dialog->module, MAKEINTRESOURCEW(from.item.imageId));
    const QImage image = platform::gdi::bitmapImage(bitmap);
    if (bitmap) DeleteObject(bitmap);
    if (!image.isNull()) {
        // Enlarged smoothly with the device.
        label->setPixmap(QPixmap::fromImage(image));
        label->setScaledContents(true);
        // The platform sizes a bitmap static to its bitmap.
        const int frame = bordersAnEdge(from.style, from.item.exStyle) ? kBorderAndEdge : label->frameWidth();
        setDeviceGeometry(label, QRect(deviceGeometry(label).topLeft(),
                                       QSize(image.width() + 2 * frame, image.height() + 2 * frame)));
    }
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

LRESULT setText(Window* window, const std::u16string& text) {
    window->text = text;
    describeFrom(window);
    if (isPicture(window->style)) return TRUE; // a picture keeps showing its picture
    auto* label = dynamic_cast<StaticControl*>(window->widget.data());
    if (!label) return TRUE;
    QString shown = displayText(
        window->text.substr(0, std::min<std::size_t>(window->text.size(), 2 * kShownStaticChars)));
    if (!(window->style & SS_NOPREFIX)) shown = withoutPrefix(shown);
    shown = shownPart(shown, kShownStaticChars);
    label->showText(shown);
    label->setAccessibleName(shown);
    renameLabelled(window);
    return TRUE;
}

LRESULT message(Window*, UINT, WPARAM, LPARAM) {
    return 0;
}

// Notifying statics are links (text) or buttons (pictures) that press as a tap does.
QAccessibleInterface* accessible(Window* window, QWidget* widget) {
    const bool picture = isPicture(window->style);
    if (window->style & SS_NOTIFY)
        return new WindowAccessible(widget, picture ? QAccessible::Button : QAccessible::Link, tapAt);
    return new WindowAccessible(widget, picture ? QAccessible::Graphic : QAccessible::StaticText);
}

} // namespace

const ControlFamily& staticFamily() {
    static const ControlFamily family{u"STATIC", create,  wire,    nullptr,
                                      setText,   message, nullptr, accessible};
    return family;
}

} // namespace platform::ui::controls
