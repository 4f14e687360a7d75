// Tree views: items with data and children, TVN_SELCHANGED for a choice by stylus or key (and
// for TVM_SELECTITEM, as on the platform), custom draw that lets the dialog choose each item's
// font and colour. Filling and clearing by the program notify nothing.
#include <QAccessible>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>

#include "platform/gdi/gdi_internal.h"
#include "platform/ui/controls/accessible.h"
#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

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
class CustomDrawDelegate : public ShownPartDelegate {
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
        // A reader hears a branch open and close.
        connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { tellExpanded(item); });
        connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { tellExpanded(item); });
        connect(this, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* now, QTreeWidgetItem* before) { selectionChanged(now, before); });
        // A selection made without the caret (a screen reader's "select") moves the caret too, so
        // the dialog hears it as it hears a tap.
        connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
            if (quiet) return;
            const QList<QTreeWidgetItem*> chosen = selectedItems();
            if (chosen.size() == 1 && chosen.front() != currentItem()) setCurrentItem(chosen.front());
        });
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
    // Entering the tree, a reader hears the row the caret is on, not only the tree's name. Qt
    // tells readers of the tree's own focus after this handler, so the row follows a moment later.
    void focusInEvent(QFocusEvent* event) override {
        QTreeWidget::focusInEvent(event);
        QTimer::singleShot(0, this, [this] {
            const int child = hasFocus() ? accessibleChildOf(currentItem()) : -1;
            if (child < 0) return;
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(child);
            announce(&focus);
        });
    }
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
            const QSize size = deviceSize(viewport());
            draw.nmcd.rc = RECT{0, 0, size.width(), size.height()};
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
    // The item's cell among the tree's accessible children (rows as shown, opened branches counted).
    int accessibleChildOf(QTreeWidgetItem* item) {
        if (!item) return -1;
        int row = 0;
        for (QModelIndex above = indexAbove(indexFromItem(item)); above.isValid(); above = indexAbove(above))
            ++row;
        QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(this);
        QAccessibleTableInterface* table = tree ? tree->tableInterface() : nullptr;
        QAccessibleInterface* cell = table ? table->cellAt(row, 0) : nullptr;
        return cell ? tree->indexOfChild(cell) : -1;
    }
    void tellExpanded(QTreeWidgetItem* item) {
        const int child = accessibleChildOf(item);
        if (child < 0) return;
        QAccessible::State changed;
        changed.expanded = true;
        QAccessibleStateChangeEvent event(this, changed);
        event.setChild(child);
        announce(&event);
        tellReadersStateChanged(event.accessibleInterface(), QStringLiteral("expanded"), item->isExpanded());
    }
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

CustomDrawDelegate::CustomDrawDelegate(TreeViewControl* tree) : ShownPartDelegate(tree), tree_(tree) {}

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
                    itemOption.font = scaledFont(*state.selectedFont);
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
    ShownPartDelegate::paint(painter, itemOption, index);
}

QSize CustomDrawDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem itemOption(option);
    if (lastFont) itemOption.font = scaledFont(*lastFont);
    return ShownPartDelegate::sizeHint(itemOption, index);
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

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::TreeView;
    const DWORD style = from.style;
    auto* tree = new TreeViewControl(from.dialog->widget);
    tree->setRootIsDecorated((style & TVS_LINESATROOT) != 0);
    tree->setIndentation(toWindow(12));
    whenRescaled(tree, [tree] { tree->setIndentation(toWindow(12)); });
    tree->setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    // Items keep their whole label; a wide one brings the horizontal scroll bar, as on the device.
    tree->setTextElideMode(Qt::ElideNone);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tree->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return tree;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* tree = as<TreeViewControl>(window);
    if (!tree) return 0;
    bool handled = false;
    const LRESULT result = treeMessage(window, tree, msg, wParam, lParam, &handled);
    return handled ? result : 0;
}

} // namespace

const ControlFamily& treeViewFamily() {
    static const ControlFamily family{u"SysTreeView32", create, nullptr, nullptr, nullptr, message, nullptr, nullptr};
    return family;
}

} // namespace platform::ui::controls
