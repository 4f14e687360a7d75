// List boxes: rows of text, sorted with LBS_SORT; a tap selects and, with LBS_NOTIFY, sends
// LBN_SELCHANGE. LBS_NOSEL lists never highlight a row. Without LBS_NOINTEGRALHEIGHT a list is as
// many whole rows high as its rectangle holds, so no row shows cut at the bottom.
#include <QListWidget>
#include <algorithm>
#include <cmath>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

QStringList items(QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

constexpr const char* kTemplateHeight = "talvinoTemplateHeight";

// Shrinks the list to whole rows of its current font; the rectangle of the template is the most.
// Rows and frame are counted in shown pixels, the height kept in device pixels.
void fitWholeRows(Window* window, QListWidget* list) {
    if ((window->style & LBS_NOINTEGRALHEIGHT) || list->count() == 0) return;
    const int most = list->property(kTemplateHeight).toInt();
    const int mostShown = static_cast<int>(std::lround(most * deviceScale()));
    const int row = list->sizeHintForRow(0);
    const int frame = 2 * list->frameWidth();
    if (mostShown <= frame || row <= 0) return;
    const int shown = std::max(1, (mostShown - frame) / row) * row + frame;
    const int height = std::min(most, static_cast<int>(std::ceil(shown / deviceScale() - 1e-9)));
    const QRect placed = deviceGeometry(list);
    if (placed.height() != height) setDeviceGeometry(list, QRect(placed.topLeft(), QSize(placed.width(), height)));
}

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::ListBox;
    const DWORD style = from.style;
    auto* list = new QListWidget(from.dialog->widget);
    list->setItemDelegate(new ShownPartDelegate(list));
    list->setSelectionMode((style & LBS_NOSEL) ? QAbstractItemView::NoSelection
                                               : QAbstractItemView::SingleSelection);
    // A list to read only takes no focus from a tap; with a tab stop, keys reach it to scroll.
    if (style & LBS_NOSEL) list->setFocusPolicy((style & WS_TABSTOP) ? Qt::TabFocus : Qt::NoFocus);
    list->setVerticalScrollBarPolicy((style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone); // a row too wide is cut at the edge, as on the device
    list->setFrameStyle((style & WS_BORDER) ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
    list->setProperty(kTemplateHeight, from.rect.height());
    whenRescaled(list, [list] {
        if (Window* window = windowOf(list)) fitWholeRows(window, list);
    });
    return list;
}

void wire(Window* control, const ControlTemplate&) {
    const HWND handle = control;
    auto* list = as<QListWidget>(control);
    QObject::connect(list, &QListWidget::itemClicked, list, [handle](QListWidgetItem*) {
        Window* window = live(handle);
        if (window && (window->style & LBS_NOTIFY)) sendCommand(window, LBN_SELCHANGE);
    });
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* list = as<QListWidget>(window);
    if (!list) return LB_ERR;
    const bool noSelection = (window->style & LBS_NOSEL) != 0;
    switch (msg) {
    case LB_ADDSTRING: {
        const QString text = toQString(reinterpret_cast<LPCWSTR>(lParam));
        const int position = (window->style & LBS_SORT) ? sortedPosition(items(list), text) : list->count();
        list->insertItem(position, text);
        if (readableText(text) != text) list->item(position)->setData(Qt::AccessibleTextRole, readableText(text));
        if (list->count() == 1) fitWholeRows(window, list);
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
        return copyRowText(list->item(index)->text(), lParam);
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

void fontChanged(Window* window, const QFont&) {
    if (auto* list = as<QListWidget>(window)) fitWholeRows(window, list);
}

} // namespace

const ControlFamily& listBoxFamily() {
    static const ControlFamily family{u"LISTBOX", create, wire, nullptr, nullptr, message, fontChanged, nullptr};
    return family;
}

} // namespace platform::ui::controls
