// The standard controls as Qt widgets, answering the platform's messages and notifying their
// dialog as the platform does. Differs from the platform: look and metrics are Qt's "Windows"
// style; only surfaces of statics, buttons and dialogs are shown (nothing draws into the others);
// statics without SS_NOTIFY let taps through to what lies below them, as the platform's do.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "platform/gdi/gdi_internal.h"
#include "platform/ui/window.h"

namespace platform::ui {
namespace {

constexpr DWORD kStaticTypeMask = 0x1F;
constexpr DWORD kButtonTypeMask = 0x0F;
constexpr DWORD SS_TYPE_BITMAP = SS_BITMAP;

// What WM_CTLCOLORSTATIC answered for one paint.
struct StaticColors {
    std::optional<QColor> background;
    std::optional<QColor> text;
};

StaticColors askStaticColors(Window* window) {
    StaticColors colors;
    if (!window || !window->parent) return colors;
    const HWND handle = window;
    HDC dc = GetDC(handle);
    const LRESULT brush = notifyParent(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(handle));
    if (dc) {
        const platform::gdi::TextState state = platform::gdi::textStateOf(dc);
        colors.text = state.textColor;
        if (brush) colors.background = platform::gdi::brushColor(reinterpret_cast<HBRUSH>(brush));
        if (!colors.background && brush && state.bkMode == OPAQUE && state.bkColor)
            colors.background = state.bkColor;
        ReleaseDC(handle, dc);
    }
    return colors;
}

QString withoutPrefix(const QString& text) {
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
        }
        out += text[i];
    }
    return out;
}

int mulDiv(int value, int numerator, int denominator) {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
}

// ---- Static -------------------------------------------------------------------------------

class StaticControl : public QLabel {
  public:
    explicit StaticControl(QWidget* parent) : QLabel(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        Window* window = windowOf(this);
        if (!window) return QLabel::paintEvent(event);
        PaintScope scope(window);
        const StaticColors colors = askStaticColors(window);
        if (!live(window)) return;
        if (colors.background) {
            QPainter painter(this);
            painter.fillRect(rect(), *colors.background);
        }
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colors.text.value_or(Qt::black));
        if (p != palette()) setPalette(p);
        QLabel::paintEvent(event);
        paintSurface(this, window, contentsRect().topLeft());
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
    // The dialog learns where the stylus is, in its own client coordinates.
    bool tellDialog(QMouseEvent* event) {
        Window* window = windowOf(this);
        if (!window || !(window->style & SS_NOTIFY) || !window->parent || !window->parent->widget)
            return false;
        const QPoint p = mapTo(window->parent->widget, event->position().toPoint());
        sendObserved(window->parent, WM_MOUSEMOVE, 0x0001,
                     MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y())));
        return true;
    }
    bool pressed_ = false;
};

// ---- Buttons ------------------------------------------------------------------------------

class PushButtonControl : public QPushButton {
  public:
    explicit PushButtonControl(QWidget* parent) : QPushButton(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPushButton::paintEvent(event);
        paintSurface(this, windowOf(this));
    }
};

class CheckBoxControl : public QCheckBox {
  public:
    explicit CheckBoxControl(QWidget* parent) : QCheckBox(parent) {}

  protected:
    void paintEvent(QPaintEvent* event) override {
        Window* window = windowOf(this);
        if (window) {
            PaintScope scope(window);
            const StaticColors colors = askStaticColors(window);
            if (!live(window)) return;
            if (colors.background) {
                QPainter painter(this);
                painter.fillRect(rect(), *colors.background);
            }
            QPalette p = palette();
            p.setColor(QPalette::WindowText, colors.text.value_or(Qt::black));
            if (p != palette()) setPalette(p);
        }
        QCheckBox::paintEvent(event);
        paintSurface(this, window);
    }
};

class OwnerDrawButton : public QPushButton {
  public:
    explicit OwnerDrawButton(QWidget* parent) : QPushButton(parent) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        Window* window = windowOf(this);
        if (!window) return;
        const HWND handle = window;
        {
            PaintScope scope(window);
            HDC dc = GetDC(handle);
            DRAWITEMSTRUCT item{};
            item.CtlType = ODT_BUTTON;
            item.CtlID = static_cast<UINT>(window->id);
            item.itemAction = ODA_DRAWENTIRE;
            item.itemState = (isDown() ? ODS_SELECTED : 0) | (hasFocus() ? ODS_FOCUS : 0);
            item.hwndItem = handle;
            item.hDC = dc;
            item.rcItem = RECT{0, 0, width(), height()};
            notifyParent(window, WM_DRAWITEM, static_cast<WPARAM>(window->id),
                         reinterpret_cast<LPARAM>(&item));
            if (live(handle) && dc) ReleaseDC(handle, dc);
        }
        if (live(handle)) paintSurface(this, window);
    }
};

// ---- Edits --------------------------------------------------------------------------------

// Single- and multi-line edits tell their dialog when they gain and lose the focus.
template <typename Edit> class EditControl : public Edit {
  public:
    explicit EditControl(QWidget* parent) : Edit(parent) {}

  protected:
    void focusInEvent(QFocusEvent* event) override {
        Edit::focusInEvent(event);
        if (Window* window = windowOf(this)) sendCommand(window, EN_SETFOCUS);
    }
    void focusOutEvent(QFocusEvent* event) override {
        Edit::focusOutEvent(event);
        if (Window* window = windowOf(this)) sendCommand(window, EN_KILLFOCUS);
    }
};
using LineEditControl = EditControl<QLineEdit>;
using MultiLineEditControl = EditControl<QPlainTextEdit>;

// ---- Combo box ----------------------------------------------------------------------------

class ComboBoxControl : public QComboBox {
  public:
    explicit ComboBoxControl(QWidget* parent) : QComboBox(parent) {}
    void showPopup() override {
        if (Window* window = windowOf(this)) sendCommand(window, CBN_DROPDOWN);
        QComboBox::showPopup();
    }
    void hidePopup() override {
        QComboBox::hidePopup();
        // The platform reports the close after the selection change.
        const HWND handle = windowOf(this);
        QTimer::singleShot(0, qApp, [handle] {
            if (Window* window = live(handle)) sendCommand(window, CBN_CLOSEUP);
        });
    }
};

// ---- Scroll bar ---------------------------------------------------------------------------

// The platform leaves the thumb where it is; the dialog moves it with SBM_SETPOS.
class ScrollBarControl : public QScrollBar {
  public:
    explicit ScrollBarControl(QWidget* parent) : QScrollBar(Qt::Horizontal, parent) {
        connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { onAction(action); });
        connect(this, &QAbstractSlider::sliderReleased, this, [this] { thumbReleased_ = true; });
    }
    int position = 0; // the position the dialog set

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QScrollBar::mouseReleaseEvent(event);
        finish();
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        QScrollBar::keyReleaseEvent(event);
        if (!event->isAutoRepeat()) finish();
    }

  private:
    void onAction(int action) {
        const int wanted = sliderPosition();
        setSliderPosition(position);
        WORD code;
        switch (action) {
        case SliderSingleStepAdd:
            code = SB_LINERIGHT;
            break;
        case SliderSingleStepSub:
            code = SB_LINELEFT;
            break;
        case SliderPageStepAdd:
            code = SB_PAGERIGHT;
            break;
        case SliderPageStepSub:
            code = SB_PAGELEFT;
            break;
        case SliderToMinimum:
            code = SB_LEFT;
            break;
        case SliderToMaximum:
            code = SB_RIGHT;
            break;
        case SliderMove:
            code = SB_THUMBTRACK;
            tracked_ = wanted;
            break;
        default:
            return;
        }
        send(code, code == SB_THUMBTRACK ? tracked_ : 0);
    }
    void finish() {
        if (thumbReleased_) {
            thumbReleased_ = false;
            send(SB_THUMBPOSITION, tracked_);
        }
        send(SB_ENDSCROLL, 0);
    }
    void send(WORD code, int pos) {
        Window* window = windowOf(this);
        if (!window) return;
        notifyParent(window, WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(pos)),
                     reinterpret_cast<LPARAM>(static_cast<HWND>(window)));
    }
    int tracked_ = 0;
    bool thumbReleased_ = false;
};

// ---- Tree view ----------------------------------------------------------------------------

QTreeWidgetItem* itemOf(HTREEITEM item) {
    return reinterpret_cast<QTreeWidgetItem*>(item);
}
HTREEITEM handleOf(QTreeWidgetItem* item) {
    return reinterpret_cast<HTREEITEM>(item);
}
constexpr int kItemDataRole = Qt::UserRole + 1;
constexpr int kHasChildrenRole = Qt::UserRole + 2;

class TreeViewControl;

// Custom draw: the dialog may choose each item's font and colour.
class CustomDrawDelegate : public QStyledItemDelegate {
  public:
    CustomDrawDelegate(TreeViewControl* tree);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    std::optional<QFont> lastFont;

  private:
    TreeViewControl* tree_;
};

class TreeViewControl : public QTreeWidget {
  public:
    explicit TreeViewControl(QWidget* parent) : QTreeWidget(parent) {
        setColumnCount(1);
        setHeaderHidden(true);
        setItemDelegate(new CustomDrawDelegate(this));
        connect(this, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* now, QTreeWidgetItem* before) { selectionChanged(now, before); });
    }
    LRESULT prepaintAnswer = CDRF_DODEFAULT;
    int quiet = 0; // programmatic changes notify nothing
    UINT nextAction = TVC_UNKNOWN;

    QTreeWidgetItem* fromModelIndex(const QModelIndex& index) const { return itemFromIndex(index); }

    void fillItem(QTreeWidgetItem* item, TVITEMW* out) const {
        out->hItem = handleOf(item);
        out->lParam = item ? static_cast<LPARAM>(item->data(0, kItemDataRole).toLongLong()) : 0;
        out->state =
            item ? ((item->isExpanded() ? TVIS_EXPANDED : 0) | (item->isSelected() ? TVIS_SELECTED : 0)) : 0;
        out->stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        Window* window = windowOf(this);
        prepaintAnswer = CDRF_DODEFAULT;
        if (window) {
            const HWND handle = window;
            PaintScope scope(window);
            HDC dc = GetDC(handle);
            NMTVCUSTOMDRAW draw{};
            draw.nmcd.hdr = NMHDR{handle, static_cast<UINT_PTR>(window->id), NM_CUSTOMDRAW};
            draw.nmcd.dwDrawStage = CDDS_PREPAINT;
            draw.nmcd.hdc = dc;
            draw.nmcd.rc = RECT{0, 0, viewport()->width(), viewport()->height()};
            prepaintAnswer = notifyParent(window, WM_NOTIFY, static_cast<WPARAM>(window->id),
                                          reinterpret_cast<LPARAM>(&draw));
            if (!live(handle)) return;
            if (dc) ReleaseDC(handle, dc);
        }
        QTreeWidget::paintEvent(event);
    }
    void mousePressEvent(QMouseEvent* event) override {
        nextAction = TVC_BYMOUSE;
        QTreeWidget::mousePressEvent(event);
        nextAction = TVC_UNKNOWN;
    }
    void keyPressEvent(QKeyEvent* event) override {
        nextAction = TVC_BYKEYBOARD;
        QTreeWidget::keyPressEvent(event);
        nextAction = TVC_UNKNOWN;
    }

  private:
    void selectionChanged(QTreeWidgetItem* now, QTreeWidgetItem* before) {
        if (quiet) return;
        Window* window = windowOf(this);
        if (!window) return;
        const HWND handle = window;
        NMTREEVIEWW info{};
        info.hdr = NMHDR{handle, static_cast<UINT_PTR>(window->id), TVN_SELCHANGEDW};
        info.action = nextAction;
        info.itemOld.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        info.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
        fillItem(before, &info.itemOld);
        fillItem(now, &info.itemNew);
        notifyParent(window, WM_NOTIFY, static_cast<WPARAM>(window->id), reinterpret_cast<LPARAM>(&info));
    }
};

CustomDrawDelegate::CustomDrawDelegate(TreeViewControl* tree) : QStyledItemDelegate(tree), tree_(tree) {}

void CustomDrawDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem itemOption(option);
    Window* window = windowOf(tree_);
    if (window && (tree_->prepaintAnswer & CDRF_NOTIFYITEMDRAW)) {
        const HWND handle = window;
        QTreeWidgetItem* item = tree_->fromModelIndex(index);
        HDC dc = GetDC(handle);
        NMTVCUSTOMDRAW draw{};
        draw.nmcd.hdr = NMHDR{handle, static_cast<UINT_PTR>(window->id), NM_CUSTOMDRAW};
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.hdc = dc;
        const QRect r = option.rect;
        draw.nmcd.rc = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
        draw.nmcd.dwItemSpec = reinterpret_cast<DWORD_PTR>(handleOf(item));
        draw.nmcd.uItemState = (option.state & QStyle::State_Selected) ? 0x0001 : 0;
        draw.nmcd.lItemlParam = item ? static_cast<LPARAM>(item->data(0, kItemDataRole).toLongLong()) : 0;
        int level = 0;
        for (QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent())
            ++level;
        draw.iLevel = level;
        draw.clrText = RGB(0, 0, 0);
        draw.clrTextBk = RGB(255, 255, 255);
        const LRESULT answer =
            notifyParent(window, WM_NOTIFY, static_cast<WPARAM>(window->id), reinterpret_cast<LPARAM>(&draw));
        if (!live(handle)) return;
        if (dc) {
            if (answer & CDRF_NEWFONT) {
                const platform::gdi::TextState state = platform::gdi::textStateOf(dc);
                if (state.selectedFont) {
                    itemOption.font = *state.selectedFont;
                    if (!lastFont || *lastFont != *state.selectedFont) {
                        const_cast<CustomDrawDelegate*>(this)->lastFont = state.selectedFont;
                        QTimer::singleShot(0, tree_, [tree = tree_] { tree->doItemsLayout(); });
                    }
                }
                if (state.textColor) itemOption.palette.setColor(QPalette::Text, *state.textColor);
            }
            ReleaseDC(handle, dc);
        }
    }
    QStyledItemDelegate::paint(painter, itemOption, index);
}

QSize CustomDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem itemOption(option);
    if (lastFont) itemOption.font = *lastFont;
    return QStyledItemDelegate::sizeHint(itemOption, index);
}

// ---- Tab control --------------------------------------------------------------------------

class TabControl : public QTabBar {
  public:
    explicit TabControl(QWidget* parent) : QTabBar(parent) {
        connect(this, &QTabBar::currentChanged, this, [this](int) {
            if (quiet) return;
            Window* window = windowOf(this);
            if (!window) return;
            NMHDR header{window, static_cast<UINT_PTR>(window->id), TCN_SELCHANGE};
            notifyParent(window, WM_NOTIFY, static_cast<WPARAM>(window->id),
                         reinterpret_cast<LPARAM>(&header));
        });
    }
    int quiet = 0;
    LRESULT version = 0;
};

// ---- Helpers for the messages -------------------------------------------------------------

template <typename T> T* as(Window* window) {
    return dynamic_cast<T*>(window->widget.data());
}

struct Quiet {
    explicit Quiet(int& counter) : counter_(counter) { ++counter_; }
    ~Quiet() { --counter_; }
    int& counter_;
};

int sortedPosition(const QStringList& items, const QString& text) {
    int position = 0;
    while (position < items.size() && items[position].compare(text, Qt::CaseInsensitive) <= 0)
        ++position;
    return position;
}

QStringList comboItems(QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}
QStringList listItems(QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

void setStaticText(Window* window) {
    auto* label = as<QLabel>(window);
    if (!label) return;
    QString text = displayText(window->text);
    if (!(window->style & SS_NOPREFIX)) text = withoutPrefix(text);
    label->setText(text);
    label->setAccessibleName(text);
}

LRESULT textMessage(Window* window, UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    std::u16string current;
    QWidget* widget = window->widget;
    switch (window->kind) {
    case Kind::Edit:
        if (auto* edit = as<QLineEdit>(window)) current = toU16(edit->text());
        break;
    case Kind::MultiLineEdit:
        if (auto* edit = as<QPlainTextEdit>(window)) {
            const QString text = edit->toPlainText();
            for (QChar c : text) {
                if (c == QLatin1Char('\n')) current += u'\r';
                current += c.unicode();
            }
        }
        break;
    case Kind::ComboBox:
        if (auto* combo = as<QComboBox>(window))
            current = combo->currentIndex() < 0 ? u"" : toU16(combo->currentText());
        break;
    default:
        current = window->text;
    }
    switch (msg) {
    case WM_GETTEXT:
        return copyText(current, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(current.size());
    default:
        break;
    }
    // WM_SETTEXT
    const std::u16string text = lParam ? std::u16string(reinterpret_cast<LPCWSTR>(lParam)) : std::u16string();
    switch (window->kind) {
    case Kind::Static:
        window->text = text;
        if ((window->style & kStaticTypeMask) != SS_TYPE_BITMAP) setStaticText(window); // a picture keeps it
        break;
    case Kind::PushButton:
    case Kind::CheckBox:
    case Kind::OwnerDrawButton:
    case Kind::GroupBox:
        window->text = text;
        if (auto* frame = as<QGroupBox>(window)) {
            frame->setTitle(withoutPrefix(displayText(text)));
            frame->setAccessibleName(frame->title());
        }
        if (auto* button = as<QAbstractButton>(window)) {
            const QString shown = withoutPrefix(displayText(text));
            button->setText(window->kind == Kind::OwnerDrawButton ? QString() : shown);
            button->setAccessibleName(shown);
        }
        break;
    case Kind::Edit:
        if (auto* edit = as<QLineEdit>(window)) edit->setText(toQString(text));
        break;
    case Kind::MultiLineEdit:
        if (auto* edit = as<QPlainTextEdit>(window)) edit->setPlainText(displayText(text));
        break;
    case Kind::ComboBox:
        if (auto* combo = as<QComboBox>(window)) {
            const int index = text.empty() ? -1 : combo->findText(toQString(text), Qt::MatchExactly);
            if (!text.empty() && index < 0) return CB_ERR;
            combo->setCurrentIndex(index);
        }
        break;
    default:
        window->text = text;
        if (widget) widget->setAccessibleName(toQString(text));
    }
    return TRUE;
}

LRESULT treeMessage(Window* window, TreeViewControl* tree, UINT msg, WPARAM wParam, LPARAM lParam,
                    bool* handled) {
    *handled = true;
    switch (msg) {
    case TVM_INSERTITEMW: {
        auto* insert = reinterpret_cast<const TVINSERTSTRUCTW*>(lParam);
        if (!insert) return 0;
        QTreeWidgetItem* parent =
            (insert->hParent == nullptr || insert->hParent == TVI_ROOT) ? nullptr : itemOf(insert->hParent);
        auto* item = new QTreeWidgetItem;
        const TVITEMW& data = insert->item;
        if ((data.mask & TVIF_TEXT) && data.pszText) item->setText(0, QString::fromUtf16(data.pszText));
        item->setData(0, kItemDataRole, static_cast<qlonglong>((data.mask & TVIF_PARAM) ? data.lParam : 0));
        if ((data.mask & TVIF_CHILDREN) && data.cChildren > 0) {
            item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
            item->setData(0, kHasChildrenRole, true);
        }
        Quiet quiet(tree->quiet);
        const int count = parent ? parent->childCount() : tree->topLevelItemCount();
        int position = count;
        if (insert->hInsertAfter == TVI_FIRST) {
            position = 0;
        } else if (insert->hInsertAfter && insert->hInsertAfter != TVI_LAST &&
                   insert->hInsertAfter != TVI_ROOT) {
            QTreeWidgetItem* after = itemOf(insert->hInsertAfter);
            const int at = parent ? parent->indexOfChild(after) : tree->indexOfTopLevelItem(after);
            if (at >= 0) position = at + 1;
        }
        if (parent)
            parent->insertChild(position, item);
        else
            tree->insertTopLevelItem(position, item);
        return reinterpret_cast<LRESULT>(handleOf(item));
    }
    case TVM_DELETEITEM: {
        Quiet quiet(tree->quiet);
        auto target = reinterpret_cast<HTREEITEM>(lParam);
        if (target == nullptr || target == TVI_ROOT) {
            tree->clear();
        } else {
            delete itemOf(target);
        }
        return TRUE;
    }
    case TVM_EXPAND: {
        QTreeWidgetItem* item = itemOf(reinterpret_cast<HTREEITEM>(lParam));
        if (!item) return FALSE;
        if (wParam & TVE_EXPAND)
            item->setExpanded(true);
        else if (wParam & TVE_COLLAPSE)
            item->setExpanded(false);
        return TRUE;
    }
    case TVM_GETCOUNT: {
        int count = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            ++count;
        return count;
    }
    case TVM_GETNEXTITEM: {
        QTreeWidgetItem* item = itemOf(reinterpret_cast<HTREEITEM>(lParam));
        QTreeWidgetItem* result = nullptr;
        switch (wParam) {
        case TVGN_ROOT:
            result = tree->topLevelItem(0);
            break;
        case TVGN_CARET:
            result = tree->currentItem();
            break;
        case TVGN_CHILD:
            if (!item || reinterpret_cast<HTREEITEM>(lParam) == TVI_ROOT)
                result = tree->topLevelItem(0);
            else
                result = item->child(0);
            break;
        case TVGN_PARENT:
            result = item ? item->parent() : nullptr;
            break;
        case TVGN_NEXT:
            if (item) {
                QTreeWidgetItem* parent = item->parent();
                const int at = parent ? parent->indexOfChild(item) : tree->indexOfTopLevelItem(item);
                result = parent ? parent->child(at + 1) : tree->topLevelItem(at + 1);
            }
            break;
        default:
            break;
        }
        return reinterpret_cast<LRESULT>(handleOf(result));
    }
    case TVM_GETITEMW: {
        auto* data = reinterpret_cast<TVITEMW*>(lParam);
        if (!data) return FALSE;
        QTreeWidgetItem* item = itemOf(data->hItem);
        if (!item) return FALSE;
        if ((data->mask & TVIF_TEXT) && data->pszText && data->cchTextMax > 0)
            copyText(toU16(item->text(0)), static_cast<WPARAM>(data->cchTextMax),
                     reinterpret_cast<LPARAM>(data->pszText));
        if (data->mask & TVIF_PARAM)
            data->lParam = static_cast<LPARAM>(item->data(0, kItemDataRole).toLongLong());
        if (data->mask & TVIF_CHILDREN)
            data->cChildren = (item->childCount() > 0 || item->data(0, kHasChildrenRole).toBool()) ? 1 : 0;
        if (data->mask & TVIF_STATE) {
            TVITEMW filled{};
            tree->fillItem(item, &filled);
            data->state = filled.state;
        }
        return TRUE;
    }
    case TVM_SETITEMW: {
        auto* data = reinterpret_cast<const TVITEMW*>(lParam);
        if (!data) return FALSE;
        QTreeWidgetItem* item = itemOf(data->hItem);
        if (!item) return FALSE;
        if ((data->mask & TVIF_TEXT) && data->pszText) item->setText(0, QString::fromUtf16(data->pszText));
        if (data->mask & TVIF_PARAM) item->setData(0, kItemDataRole, static_cast<qlonglong>(data->lParam));
        if (data->mask & TVIF_CHILDREN) {
            item->setData(0, kHasChildrenRole, data->cChildren > 0);
            item->setChildIndicatorPolicy(data->cChildren > 0
                                              ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicatorWhenChildless);
        }
        return TRUE;
    }
    case TVM_SELECTITEM: {
        if (wParam != TVGN_CARET) return FALSE;
        QTreeWidgetItem* item = itemOf(reinterpret_cast<HTREEITEM>(lParam));
        tree->setCurrentItem(item); // the platform notifies this change too (action unknown)
        if (item) tree->scrollToItem(item);
        return TRUE;
    }
    default:
        *handled = false;
        return 0;
    }
    (void)window;
}

} // namespace

// ---- Creation ------------------------------------------------------------------------------

void applyFont(Window* window, const QFont& font) {
    if (!window->widget) return;
    window->widget->setFont(font);
    if (auto* combo = as<QComboBox>(window)) combo->view()->setFont(font);
}

Window* createControl(Window* dialog, const DLGITEMTEMPLATE& item) {
    QWidget* parent = dialog->widget;
    const std::u16string className = item.className ? std::u16string(item.className) : std::u16string();
    auto is = [&](const char16_t* name) {
        const std::u16string wanted(name);
        if (wanted.size() != className.size()) return false;
        for (std::size_t i = 0; i < wanted.size(); ++i)
            if (QChar(wanted[i]).toUpper() != QChar(className[i]).toUpper()) return false;
        return true;
    };
    const DWORD style = item.style;
    QRect rect(mulDiv(item.x, dialog->baseX, 4), mulDiv(item.y, dialog->baseY, 8),
               mulDiv(item.cx, dialog->baseX, 4), mulDiv(item.cy, dialog->baseY, 8));
    const std::u16string text = item.text ? std::u16string(item.text) : std::u16string();
    Kind kind;
    QWidget* widget = nullptr;

    if (is(u"STATIC")) {
        kind = Kind::Static;
        auto* label = new StaticControl(parent);
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
        if ((item.exStyle & WS_EX_STATICEDGE) || (style & SS_SUNKEN)) {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(1);
        } else if (style & WS_BORDER) {
            label->setFrameStyle(QFrame::Box | QFrame::Plain);
            label->setLineWidth(1);
        }
        if (!(style & SS_NOTIFY)) label->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget = label;
    } else if (is(u"BUTTON")) {
        switch (style & kButtonTypeMask) {
        case BS_AUTOCHECKBOX:
        case 0x2: // BS_CHECKBOX
            kind = Kind::CheckBox;
            widget = new CheckBoxControl(parent);
            break;
        case BS_OWNERDRAW:
            kind = Kind::OwnerDrawButton;
            widget = new OwnerDrawButton(parent);
            break;
        case BS_GROUPBOX: {
            kind = Kind::GroupBox;
            auto* frame = new QGroupBox(parent);
            frame->setAttribute(Qt::WA_TransparentForMouseEvents); // a frame, not a button
            widget = frame;
            break;
        }
        default:
            kind = Kind::PushButton;
            widget = new PushButtonControl(parent);
            break;
        }
        if (kind != Kind::GroupBox)
            widget->setFocusPolicy((style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
    } else if (is(u"EDIT")) {
        if (style & ES_MULTILINE) {
            kind = Kind::MultiLineEdit;
            auto* edit = new MultiLineEditControl(parent);
            edit->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setLineWrapMode((style & ES_AUTOHSCROLL) ? QPlainTextEdit::NoWrap
                                                           : QPlainTextEdit::WidgetWidth);
            edit->setReadOnly(style & ES_READONLY);
            edit->setTabChangesFocus(true);
            if (!(style & WS_BORDER) && !(item.exStyle & WS_EX_CLIENTEDGE))
                edit->setFrameStyle(QFrame::NoFrame);
            widget = edit;
        } else {
            kind = Kind::Edit;
            auto* edit = new LineEditControl(parent);
            edit->setReadOnly(style & ES_READONLY);
            edit->setFrame((style & WS_BORDER) || (item.exStyle & WS_EX_CLIENTEDGE));
            edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            widget = edit;
        }
    } else if (is(u"LISTBOX")) {
        kind = Kind::ListBox;
        auto* list = new QListWidget(parent);
        list->setSelectionMode((style & LBS_NOSEL) ? QAbstractItemView::NoSelection
                                                   : QAbstractItemView::SingleSelection);
        if (style & LBS_NOSEL) list->setFocusPolicy(Qt::NoFocus);
        list->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideNone); // a row too wide is cut at the edge, as on the device
        list->setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        widget = list;
    } else if (is(u"COMBOBOX")) {
        kind = Kind::ComboBox;
        auto* combo = new ComboBoxControl(parent);
        combo->setMaxVisibleItems(std::max(1, (rect.height() - dialog->baseY) / std::max(1, dialog->baseY)));
        // The rectangle's height is the dropped-down list's; the box itself is one line high.
        rect.setHeight(dialog->baseY + 7);
        widget = combo;
    } else if (is(u"SCROLLBAR")) {
        kind = Kind::ScrollBar;
        auto* bar = new ScrollBarControl(parent);
        bar->setRange(0, 100);
        bar->setPageStep(0);
        bar->setSingleStep(1);
        bar->setFocusPolicy(Qt::StrongFocus);
        widget = bar;
    } else if (is(u"SysTreeView32")) {
        kind = Kind::TreeView;
        auto* tree = new TreeViewControl(parent);
        tree->setRootIsDecorated((style & TVS_LINESATROOT) != 0);
        tree->setIndentation(12);
        tree->setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        // Items keep their whole label; a wide one brings the horizontal scroll bar, as on the device.
        tree->setTextElideMode(Qt::ElideNone);
        tree->header()->setStretchLastSection(false);
        tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        tree->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        widget = tree;
    } else if (is(u"SysTabControl32")) {
        kind = Kind::TabControl;
        auto* tabs = new TabControl(parent);
        tabs->setShape((style & TCS_BOTTOM) ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
        tabs->setExpanding(false);
        tabs->setUsesScrollButtons(false);
        tabs->setDrawBase(true);
        tabs->setElideMode(Qt::ElideNone);
        widget = tabs;
    } else {
        return nullptr;
    }

    Window* control = createWindow(kind, className, dialog, widget);
    control->id = item.id;
    control->style = style | WS_CHILD;
    control->exStyle = item.exStyle;
    control->visible = (style & WS_VISIBLE) != 0;
    widget->setGeometry(rect);

    if (kind == Kind::Static && (style & kStaticTypeMask) == SS_TYPE_BITMAP) {
        auto* label = static_cast<QLabel*>(widget);
        HBITMAP bitmap = LoadBitmapW(dialog->module, MAKEINTRESOURCEW(item.imageId));
        const QImage image = platform::gdi::bitmapImage(bitmap);
        if (bitmap) DeleteObject(bitmap);
        if (!image.isNull()) {
            label->setPixmap(QPixmap::fromImage(image));
            // The platform sizes a bitmap static to its bitmap.
            const int frame = label->frameWidth();
            widget->resize(image.width() + 2 * frame, image.height() + 2 * frame);
        }
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        control->text = text;
    } else if (!text.empty()) {
        bool handled = false;
        textMessage(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &handled);
    }
    if (kind == Kind::CheckBox) {
        auto* check = static_cast<QCheckBox*>(widget);
        const HWND handle = control;
        const bool automatic = (style & kButtonTypeMask) == BS_AUTOCHECKBOX;
        if (!automatic) check->setCheckable(false);
        QObject::connect(check, &QAbstractButton::clicked, check, [handle] {
            if (Window* window = live(handle)) sendCommand(window, BN_CLICKED);
        });
    } else if (kind == Kind::PushButton || kind == Kind::OwnerDrawButton) {
        const HWND handle = control;
        QObject::connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, widget, [handle] {
            if (Window* window = live(handle)) sendCommand(window, BN_CLICKED);
        });
    } else if (kind == Kind::Edit) {
        const HWND handle = control;
        auto* edit = static_cast<QLineEdit*>(widget);
        QObject::connect(edit, &QLineEdit::textChanged, edit, [handle] {
            if (Window* window = live(handle)) sendCommand(window, EN_CHANGE);
        });
    } else if (kind == Kind::MultiLineEdit) {
        const HWND handle = control;
        auto* edit = static_cast<QPlainTextEdit*>(widget);
        QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [handle] {
            if (Window* window = live(handle)) sendCommand(window, EN_CHANGE);
        });
    } else if (kind == Kind::ComboBox) {
        const HWND handle = control;
        auto* combo = static_cast<QComboBox*>(widget);
        QObject::connect(combo, QOverload<int>::of(&QComboBox::activated), combo, [handle](int) {
            if (Window* window = live(handle)) sendCommand(window, CBN_SELCHANGE);
        });
    } else if (kind == Kind::ListBox) {
        const HWND handle = control;
        auto* list = static_cast<QListWidget*>(widget);
        QObject::connect(list, &QListWidget::itemClicked, list, [handle](QListWidgetItem*) {
            Window* window = live(handle);
            if (window && (window->style & LBS_NOTIFY)) sendCommand(window, LBN_SELCHANGE);
        });
    }
    if (!(style & WS_VISIBLE)) widget->hide();
    if (style & WS_DISABLED) widget->setEnabled(false);
    return control;
}

// ---- Messages ------------------------------------------------------------------------------

LRESULT controlMessage(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    QWidget* widget = window->widget;
    if (!widget) return 0;
    bool handled = false;
    switch (msg) {
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return textMessage(window, msg, wParam, lParam, &handled);
    case WM_SETFONT:
        window->font = reinterpret_cast<HFONT>(wParam);
        applyFont(window, platform::gdi::fontOf(window->font));
        if (lParam) widget->update();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(window->font);
    case CCM_SETVERSION:
        if (auto* tabs = as<TabControl>(window)) {
            const LRESULT previous = tabs->version;
            tabs->version = static_cast<LRESULT>(wParam);
            return previous;
        }
        return -1;
    default:
        break;
    }

    switch (window->kind) {
    case Kind::CheckBox:
    case Kind::PushButton:
    case Kind::OwnerDrawButton: {
        auto* button = as<QAbstractButton>(window);
        if (msg == BM_GETCHECK)
            return button && button->isCheckable() && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
        if (msg == BM_SETCHECK) {
            if (window->kind == Kind::CheckBox && button) {
                button->setCheckable(true);
                button->setChecked(wParam == BST_CHECKED);
            }
            return 0;
        }
        return 0;
    }
    case Kind::Edit:
        if (msg == EM_LIMITTEXT) {
            if (auto* edit = as<QLineEdit>(window))
                edit->setMaxLength(wParam ? static_cast<int>(wParam) : 32767);
            return 0;
        }
        return 0;
    case Kind::MultiLineEdit:
        return 0;
    case Kind::ListBox: {
        auto* list = as<QListWidget>(window);
        if (!list) return LB_ERR;
        const bool noSelection = (window->style & LBS_NOSEL) != 0;
        switch (msg) {
        case LB_ADDSTRING: {
            const QString text = toQString(reinterpret_cast<LPCWSTR>(lParam));
            const int position =
                (window->style & LBS_SORT) ? sortedPosition(listItems(list), text) : list->count();
            list->insertItem(position, text);
            return position;
        }
        case LB_RESETCONTENT:
            list->clear();
            return 0;
        case LB_SETCURSEL: {
            if (noSelection) return LB_ERR;
            const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (index < 0 || index >= list->count()) {
                list->setCurrentRow(-1);
                list->clearSelection();
                return LB_ERR; // also for -1, which only clears the selection
            }
            list->setCurrentRow(index);
            return index;
        }
        case LB_GETCURSEL:
            if (noSelection || list->selectedItems().isEmpty()) return LB_ERR;
            return list->currentRow();
        case LB_GETTEXT: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= list->count()) return LB_ERR;
            // The platform trusts the caller's buffer to be long enough.
            const std::u16string text = toU16(list->item(index)->text());
            auto* out = reinterpret_cast<char16_t*>(lParam);
            if (out) {
                text.copy(out, text.size());
                out[text.size()] = u'\0';
            }
            return static_cast<LRESULT>(text.size());
        }
        case LB_GETTEXTLEN: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= list->count()) return LB_ERR;
            return list->item(index)->text().size();
        }
        case LB_GETCOUNT:
            return list->count();
        default:
            return 0;
        }
    }
    case Kind::ComboBox: {
        auto* combo = as<QComboBox>(window);
        if (!combo) return CB_ERR;
        const QSignalBlocker block(combo);
        switch (msg) {
        case CB_ADDSTRING: {
            const QString text = toQString(reinterpret_cast<LPCWSTR>(lParam));
            const int current = combo->currentIndex();
            const int position =
                (window->style & CBS_SORT) ? sortedPosition(comboItems(combo), text) : combo->count();
            combo->insertItem(position, text);
            // Adding never selects anything on the platform.
            combo->setCurrentIndex(current < 0 ? -1 : (position <= current ? current + 1 : current));
            return position;
        }
        case CB_GETCOUNT:
            return combo->count();
        case CB_GETCURSEL:
            return combo->currentIndex() < 0 ? CB_ERR : combo->currentIndex();
        case CB_GETLBTEXT: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= combo->count()) return CB_ERR;
            const std::u16string text = toU16(combo->itemText(index));
            auto* out = reinterpret_cast<char16_t*>(lParam);
            if (out) {
                text.copy(out, text.size());
                out[text.size()] = u'\0';
            }
            return static_cast<LRESULT>(text.size());
        }
        case CB_GETLBTEXTLEN: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= combo->count()) return CB_ERR;
            return combo->itemText(index).size();
        }
        case CB_RESETCONTENT:
            combo->clear();
            combo->setCurrentIndex(-1);
            return 0;
        case CB_SETCURSEL: {
            const int index = static_cast<int>(static_cast<std::intptr_t>(wParam));
            if (index < 0 || index >= combo->count()) {
                combo->setCurrentIndex(-1);
                return CB_ERR;
            }
            combo->setCurrentIndex(index);
            return index;
        }
        case CB_SHOWDROPDOWN:
            if (wParam)
                combo->showPopup();
            else
                combo->hidePopup();
            return TRUE;
        default:
            return 0;
        }
    }
    case Kind::ScrollBar: {
        auto* bar = as<ScrollBarControl>(window);
        if (!bar) return 0;
        switch (msg) {
        case SBM_SETRANGE:
        case SBM_SETRANGEREDRAW: {
            const int low = static_cast<int>(static_cast<std::intptr_t>(wParam));
            const int high = static_cast<int>(lParam);
            bar->setRange(low, std::max(low, high));
            bar->position = std::clamp(bar->position, bar->minimum(), bar->maximum());
            bar->setValue(bar->position);
            return TRUE;
        }
        case SBM_SETPOS: {
            const int previous = bar->position;
            bar->position = std::clamp(static_cast<int>(static_cast<std::intptr_t>(wParam)), bar->minimum(),
                                       bar->maximum());
            {
                const QSignalBlocker block(bar);
                bar->setValue(bar->position);
                bar->setSliderPosition(bar->position);
            }
            bar->update();
            return previous;
        }
        case SBM_GETPOS:
            return bar->position;
        default:
            return 0;
        }
    }
    case Kind::TreeView: {
        auto* tree = as<TreeViewControl>(window);
        if (!tree) return 0;
        const LRESULT result = treeMessage(window, tree, msg, wParam, lParam, &handled);
        return handled ? result : 0;
    }
    case Kind::TabControl: {
        auto* tabs = as<TabControl>(window);
        if (!tabs) return -1;
        switch (msg) {
        case TCM_INSERTITEMW: {
            auto* data = reinterpret_cast<const TCITEMW*>(lParam);
            const QString text = (data && (data->mask & TCIF_TEXT) && data->pszText)
                                     ? QString::fromUtf16(data->pszText)
                                     : QString();
            Quiet quiet(tabs->quiet);
            const int index = tabs->insertTab(std::clamp(static_cast<int>(wParam), 0, tabs->count()), text);
            return index;
        }
        case TCM_GETCURSEL:
            return tabs->currentIndex();
        case TCM_SETCURSEL: {
            const int index = static_cast<int>(wParam);
            if (index < 0 || index >= tabs->count()) return -1;
            const int previous = tabs->currentIndex();
            Quiet quiet(tabs->quiet);
            tabs->setCurrentIndex(index);
            return previous;
        }
        case TCM_GETITEMCOUNT:
            return tabs->count();
        default:
            return 0;
        }
    }
    default:
        return 0;
    }
}

} // namespace platform::ui
