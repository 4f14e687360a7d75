// Tab controls: a tap on a tab sends TCN_SELCHANGE with the new tab already current; tabs the
// program inserts or selects notify nothing.
#include <QTabBar>
#include <algorithm>

#include "platform/ui/controls/core.h"

namespace platform::ui::controls {
namespace {

class TabControl : public QTabBar {
  public:
    explicit TabControl(QWidget* parent) : QTabBar(parent) {
        connect(this, &QTabBar::currentChanged, this, [this](int) {
            if (quiet) return;
            Window* window = windowOf(this);
            if (!window) return;
            NMHDR header{window, static_cast<UINT_PTR>(window->id), TCN_SELCHANGE};
            notifyParent(window, WM_NOTIFY, static_cast<WPARAM>(window->id), reinterpret_cast<LPARAM>(&header));
        });
    }
    int quiet = 0;
    LRESULT version = 0;
};

QWidget* create(ControlTemplate& from, Kind* kind) {
    *kind = Kind::TabControl;
    auto* tabs = new TabControl(from.dialog->widget);
    tabs->setShape((from.style & TCS_BOTTOM) ? QTabBar::RoundedSouth : QTabBar::RoundedNorth);
    tabs->setExpanding(false);
    tabs->setUsesScrollButtons(false);
    tabs->setDrawBase(true);
    tabs->setElideMode(Qt::ElideNone);
    return tabs;
}

LRESULT message(Window* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* tabs = as<TabControl>(window);
    if (!tabs) return -1;
    switch (msg) {
    case CCM_SETVERSION: {
        const LRESULT previous = tabs->version;
        tabs->version = static_cast<LRESULT>(wParam);
        return previous;
    }
    case TCM_INSERTITEMW: {
        auto* data = reinterpret_cast<const TCITEMW*>(lParam);
        const QString text =
            (data && (data->mask & TCIF_TEXT) && data->pszText) ? QString::fromUtf16(data->pszText) : QString();
        Quiet quiet(tabs->quiet);
        return tabs->insertTab(std::clamp(static_cast<int>(wParam), 0, tabs->count()), text);
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

} // namespace

const ControlFamily& tabFamily() {
    static const ControlFamily family{u"SysTabControl32", create, nullptr, nullptr, nullptr, message, nullptr, nullptr};
    return family;
}

} // namespace platform::ui::controls
