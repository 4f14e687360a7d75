// The test driver. Acts through QTest's input events on the real widgets, so that what a control
// sends to its dialog is what it sends for a user.
#include "platform/testing/driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTabBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/shell/shell.h"
#include "platform/ui/program_end.h"
#include "platform/ui/window.h"

namespace platform::testing {

using platform::ui::live;
using platform::ui::toQString;
using platform::ui::toU16;
using platform::ui::Window;

namespace {

std::string narrow(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

void click(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}

// A point in device pixels of `widget` as the widget's own pixels: the middle of that device
// pixel as the device is shown now.
QPoint shownPoint(QWidget* widget, QPoint devicePoint) {
    const QRect pixel = platform::ui::windowRectIn(widget, QRect(devicePoint, QSize(1, 1)));
    return QPoint(pixel.left() + (pixel.width() - 1) / 2, pixel.top() + (pixel.height() - 1) / 2);
}

bool shownOnScreen(QWidget* widget) {
    return widget && widget->isVisible();
}

QWidget* findDeviceChild(const char* name) {
    QWidget* device = platform::deviceWindow();
    return device ? device->findChild<QWidget*>(QString::fromLatin1(name)) : nullptr;
}

// One key event per character: a character outside the Basic Multilingual Plane is one key that
// types both halves of its surrogate pair, as a keyboard or input method delivers it.
void typeInto(QWidget* target, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        Qt::Key key = Qt::Key_unknown;
        QString chars(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            chars += text[++i];
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            key = Qt::Key_Return;
            chars = QStringLiteral("\r");
        } else if (c.unicode() < 128 && c.isLetterOrNumber()) {
            key = static_cast<Qt::Key>(c.toUpper().unicode());
        } else if (c == QLatin1Char(' ')) {
            key = Qt::Key_Space;
        }
        const Qt::KeyboardModifiers modifiers = c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
        QTest::sendKeyEvent(QTest::Press, target, key, chars, modifiers);
        QTest::sendKeyEvent(QTest::Release, target, key, chars, modifiers);
    }
}

} // namespace

Driver::Driver() {
    platform::setMessageBoxResponder(
        [this](HWND owner, const std::u16string& text, const std::u16string& caption, UINT type) {
            int answer = IDOK;
            if (!answers_.empty()) {
                answer = answers_.front();
                answers_.pop_front();
            }
            boxes_.push_back(MessageBoxRecord{owner, caption, text, type, answer});
            return answer;
        });
    platform::setDialogActivatedHook([this](HWND dialog) { activated(dialog); });
    watchdog_ = new QTimer;
    watchdog_->setSingleShot(true);
    QObject::connect(watchdog_, &QTimer::timeout, [this] {
        HWND active = platform::activeDialog();
        if (runningSteps_ > 0 || !active || active != watched_ || !platform::isModalLoopRunning(active))
            return;
        ADD_FAILURE() << "modal dialog " << platform::dialogTemplateId(active) << " (\""
                      << narrow(text(active)) << "\") stayed open without a step to run; ending it";
        for (Window* dialog : platform::ui::dialogStack())
            if (dialog->loop) EndDialog(dialog, 0);
    });
}

Driver::~Driver() {
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it)
        if (IsWindow(*it)) platform::destroyDialog(*it);
    platform::setMessageBoxResponder({});
    platform::setDialogActivatedHook({});
    platform::resetProgramEnd(); // the next test starts a program that is not ending
    delete watchdog_;
    if (!steps_.empty()) ADD_FAILURE() << steps_.size() << " step(s) of the flow never ran";
}

// ---- Opening ----------------------------------------------------------------------------------

namespace {
LPCDLGTEMPLATEW findTemplate(HINSTANCE module, int templateId) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    return resource ? static_cast<LPCDLGTEMPLATEW>(LoadResource(module, resource)) : nullptr;
}
} // namespace

HWND Driver::open(HINSTANCE module, int templateId, DLGPROC proc, HWND parent, LPARAM initParam) {
    LPCDLGTEMPLATEW dialogTemplate = findTemplate(module, templateId);
    if (!dialogTemplate) {
        ADD_FAILURE() << "no dialog template " << templateId;
        return nullptr;
    }
    HWND dialog = platform::createDialog(module, dialogTemplate, parent, proc, initParam);
    if (dialog) opened_.push_back(dialog);
    pump();
    return dialog;
}

void Driver::close(HWND dialog) {
    platform::destroyDialog(dialog);
    pump();
}

INT_PTR Driver::runModal(HINSTANCE module, int templateId, DLGPROC proc, HWND parent, LPARAM initParam) {
    LPCDLGTEMPLATEW dialogTemplate = findTemplate(module, templateId);
    if (!dialogTemplate) {
        ADD_FAILURE() << "no dialog template " << templateId;
        return -1;
    }
    return DialogBoxIndirectParamW(module, dialogTemplate, parent, proc, initParam);
}

// ---- Steps ----------------------------------------------------------------------------------

void Driver::onDialog(int templateId, std::function<void(HWND)> step) {
    steps_.push_back(Step{templateId, {}, false, std::move(step)});
    if (HWND active = platform::activeDialog()) {
        // The dialog may already be up (a step queued from inside another step).
        QTimer::singleShot(0, qApp, [this, active] { activated(active); });
    }
}

void Driver::onDialog(const std::u16string& caption, std::function<void(HWND)> step) {
    steps_.push_back(Step{0, caption, true, std::move(step)});
    if (HWND active = platform::activeDialog())
        QTimer::singleShot(0, qApp, [this, active] { activated(active); });
}

bool Driver::runnable(HWND dialog) const {
    if (steps_.empty() || !IsWindow(dialog) || platform::activeDialog() != dialog) return false;
    const Step& step = steps_.front();
    if (step.byCaption) return text(dialog) == step.caption;
    return platform::dialogTemplateId(dialog) == step.templateId;
}

void Driver::activated(HWND dialog) {
    while (runnable(dialog)) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        ++runningSteps_;
        step.run(dialog);
        --runningSteps_;
        if (::testing::Test::HasFatalFailure()) break;
    }
    armWatchdog(platform::activeDialog());
}

void Driver::armWatchdog(HWND dialog) {
    watched_ = dialog;
    if (dialog && platform::isModalLoopRunning(dialog)) watchdog_->start(stepTimeoutMs);
}

// ---- Acting ---------------------------------------------------------------------------------

QWidget* Driver::usable(HWND dialog, int id, const char* action) const {
    HWND handle = GetDlgItem(dialog, id);
    QWidget* target = widget(handle);
    if (!target) {
        ADD_FAILURE() << action << ": no control " << id;
        return nullptr;
    }
    if (!shownOnScreen(target) || !IsWindowVisible(handle)) {
        ADD_FAILURE() << action << ": control " << id << " is not shown";
        return nullptr;
    }
    if (!target->isEnabled()) {
        ADD_FAILURE() << action << ": control " << id << " is disabled";
        return nullptr;
    }
    return target;
}

bool Driver::tap(HWND dialog, int id) {
    QWidget* target = usable(dialog, id, "tap");
    if (!target) return false;
    click(target, target->rect().center());
    pump();
    return true;
}

bool Driver::tapAt(HWND dialog, int x, int y) {
    QWidget* surface = widget(dialog);
    if (!shownOnScreen(surface)) {
        ADD_FAILURE() << "tapAt: the dialog is not shown";
        return false;
    }
    const QPoint point = shownPoint(surface, QPoint(x, y));
    QWidget* target = surface->childAt(point);
    if (!target) target = surface;
    click(target, target->mapFrom(surface, point));
    pump();
    return true;
}

bool Driver::tapDevice(int x, int y) {
    QWidget* device = platform::deviceWindow();
    if (!device) return false;
    const QPoint point = shownPoint(device, QPoint(x, y));
    QWidget* target = device->childAt(point);
    if (!target) target = device;
    click(target, target->mapFrom(device, point));
    pump();
    return true;
}

bool Driver::tapDone() {
    auto* done = qobject_cast<QPushButton*>(findDeviceChild("DoneButton"));
    if (!done || !done->isVisible()) {
        ADD_FAILURE() << "tapDone: the title bar shows no done button";
        return false;
    }
    click(done, done->rect().center());
    pump();
    return true;
}

bool Driver::closeDeviceWindow() {
    QWidget* device = platform::deviceWindow();
    QWindow* window = device ? device->window()->windowHandle() : nullptr;
    if (!window) {
        ADD_FAILURE() << "closeDeviceWindow: there is no device window";
        return false;
    }
    // What the platform plugin delivers when the window manager closes a window.
    QCloseEvent event;
    QApplication::sendEvent(window, &event);
    return true;
}

bool Driver::stylusDown(HWND dialog, int x, int y) {
    QWidget* surface = widget(dialog);
    if (!surface) return false;
    const QPoint point = shownPoint(surface, QPoint(x, y));
    QWidget* target = surface->childAt(point);
    if (!target) target = surface;
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(surface, point));
    return true;
}

bool Driver::stylusMove(HWND dialog, int x, int y) {
    QWidget* surface = widget(dialog);
    if (!surface) return false;
    QWidget* grabber = QWidget::mouseGrabber();
    QWidget* target = grabber ? grabber : surface;
    QTest::mouseMove(target, target->mapFrom(surface, shownPoint(surface, QPoint(x, y))));
    return true;
}

bool Driver::stylusUp(HWND dialog, int x, int y) {
    QWidget* surface = widget(dialog);
    if (!surface) return false;
    QWidget* grabber = QWidget::mouseGrabber();
    const QPoint point = shownPoint(surface, QPoint(x, y));
    QWidget* target = grabber ? grabber : surface->childAt(point);
    if (!target) target = surface;
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, target->mapFrom(surface, point));
    pump();
    return true;
}

bool Driver::type(HWND dialog, int id, const std::u16string& text) {
    QWidget* target = usable(dialog, id, "type");
    if (!target) return false;
    if (!target->hasFocus()) click(target, QPoint(target->width() - 4, target->height() / 2));
    QWidget* focus = QApplication::focusWidget();
    typeInto(focus ? focus : target, toQString(text));
    pump();
    return true;
}

bool Driver::typeWithInputMethod(HWND dialog, int id, const std::u16string& text) {
    QWidget* target = usable(dialog, id, "typeWithInputMethod");
    if (!target) return false;
    if (!target->hasFocus()) click(target, QPoint(target->width() - 4, target->height() / 2));
    QWidget* focus = QApplication::focusWidget();
    if (!focus) focus = target;
    if (!focus->testAttribute(Qt::WA_InputMethodEnabled)) {
        ADD_FAILURE() << "typeWithInputMethod: the focus takes no input method";
        return false;
    }
    const QString characters = toQString(text);
    for (qsizetype i = 0; i < characters.size(); ++i) {
        QString one(characters[i]);
        if (characters[i].isHighSurrogate() && i + 1 < characters.size()) one += characters[++i];
        QInputMethodEvent composing(one, {});
        QCoreApplication::sendEvent(focus, &composing);
        QInputMethodEvent committed;
        committed.setCommitString(one);
        QCoreApplication::sendEvent(focus, &committed);
    }
    pump();
    return true;
}

bool Driver::typeKeys(const std::u16string& text) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) {
        ADD_FAILURE() << "typeKeys: nothing has the focus";
        return false;
    }
    typeInto(focus, toQString(text));
    pump();
    return true;
}

bool Driver::pressKey(HWND dialog, int id, int qtKey) {
    QWidget* target = usable(dialog, id, "pressKey");
    if (!target) return false;
    target->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(target, static_cast<Qt::Key>(qtKey));
    pump();
    return true;
}

bool Driver::pressKey(int qtKey, Qt::KeyboardModifiers modifiers) {
    // Keys go to the device window; a user at the keyboard has it active.
    QWidget* device = platform::deviceWindow();
    if (!QApplication::focusWidget() && device) {
        device->activateWindow();
        waitFor([] { return QApplication::focusWidget() != nullptr; }, 1000);
    }
    // An open drop-down list takes the keys, as the window system routes them.
    QWidget* focus = QApplication::focusWidget();
    if (QWidget* popup = QApplication::activePopupWidget())
        focus = popup->focusWidget() ? popup->focusWidget() : popup;
    if (!focus) {
        ADD_FAILURE() << "pressKey: nothing has the focus";
        return false;
    }
    QTest::keyClick(focus, static_cast<Qt::Key>(qtKey), modifiers);
    pump();
    return true;
}

bool Driver::chooseItem(HWND dialog, int id, int index) {
    QWidget* target = usable(dialog, id, "chooseItem");
    if (!target) return false;
    if (auto* combo = qobject_cast<QComboBox*>(target)) {
        if (index < 0 || index >= combo->count()) {
            ADD_FAILURE() << "chooseItem: combo box " << id << " has no item " << index;
            return false;
        }
        // As a user: drop the list down, pick the item; the list closes.
        combo->showPopup();
        pump();
        combo->setCurrentIndex(index);
        combo->hidePopup();
        emit combo->activated(index);
        pump();
        return true;
    }
    if (auto* list = qobject_cast<QListWidget*>(target)) {
        if (index < 0 || index >= list->count()) {
            ADD_FAILURE() << "chooseItem: list box " << id << " has no item " << index;
            return false;
        }
        list->scrollToItem(list->item(index));
        click(list->viewport(), list->visualItemRect(list->item(index)).center());
        pump();
        return true;
    }
    ADD_FAILURE() << "chooseItem: control " << id << " is neither a combo box nor a list box";
    return false;
}

bool Driver::chooseItem(HWND dialog, int id, const std::u16string& text) {
    const std::vector<std::u16string> all = items(dialog, id);
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i] == text) return chooseItem(dialog, id, static_cast<int>(i));
    ADD_FAILURE() << "chooseItem: control " << id << " has no item \"" << narrow(text) << "\"";
    return false;
}

namespace {
QTreeWidgetItem* findTreeItem(QTreeWidget* tree, const std::vector<std::u16string>& labels) {
    QTreeWidgetItem* current = nullptr;
    for (const std::u16string& label : labels) {
        const QString wanted = QString::fromStdU16String(label);
        QTreeWidgetItem* found = nullptr;
        const int count = current ? current->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !found; ++i) {
            QTreeWidgetItem* candidate = current ? current->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == wanted) found = candidate;
        }
        if (!found) return nullptr;
        current = found;
    }
    return current;
}
} // namespace

bool Driver::selectTreeItem(HWND dialog, int id, const std::vector<std::u16string>& labels) {
    auto* tree = qobject_cast<QTreeWidget*>(usable(dialog, id, "selectTreeItem"));
    if (!tree) return false;
    QTreeWidgetItem* item = findTreeItem(tree, labels);
    if (!item) {
        ADD_FAILURE() << "selectTreeItem: no such item in tree " << id;
        return false;
    }
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    tree->scrollToItem(item);
    pump();
    const QRect r = tree->visualItemRect(item);
    click(tree->viewport(), QPoint(r.left() + std::min(r.width() / 2, 20), r.center().y()));
    pump();
    return true;
}

bool Driver::expandTreeItem(HWND dialog, int id, const std::vector<std::u16string>& labels) {
    auto* tree = qobject_cast<QTreeWidget*>(usable(dialog, id, "expandTreeItem"));
    if (!tree) return false;
    QTreeWidgetItem* item = findTreeItem(tree, labels);
    if (!item) {
        ADD_FAILURE() << "expandTreeItem: no such item in tree " << id;
        return false;
    }
    for (QTreeWidgetItem* p = item; p; p = p->parent())
        p->setExpanded(true);
    pump();
    return true;
}

bool Driver::selectTab(HWND dialog, int id, int index) {
    auto* tabs = qobject_cast<QTabBar*>(usable(dialog, id, "selectTab"));
    if (!tabs) return false;
    if (index < 0 || index >= tabs->count()) {
        ADD_FAILURE() << "selectTab: tab control " << id << " has no tab " << index;
        return false;
    }
    click(tabs, tabs->tabRect(index).center());
    pump();
    return true;
}

namespace {
QRect scrollPart(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}
} // namespace

bool Driver::scroll(HWND dialog, int id, ScrollAction action) {
    auto* bar = qobject_cast<QScrollBar*>(usable(dialog, id, "scroll"));
    if (!bar) return false;
    switch (action) {
    case ScrollAction::LineLeft:
        click(bar, scrollPart(bar, QStyle::SC_ScrollBarSubLine).center());
        break;
    case ScrollAction::LineRight:
        click(bar, scrollPart(bar, QStyle::SC_ScrollBarAddLine).center());
        break;
    case ScrollAction::PageLeft: {
        const QRect r = scrollPart(bar, QStyle::SC_ScrollBarSubPage);
        if (r.isEmpty()) {
            ADD_FAILURE() << "scroll: no trough left of the thumb";
            return false;
        }
        click(bar, r.center());
        break;
    }
    case ScrollAction::PageRight: {
        const QRect r = scrollPart(bar, QStyle::SC_ScrollBarAddPage);
        if (r.isEmpty()) {
            ADD_FAILURE() << "scroll: no trough right of the thumb";
            return false;
        }
        click(bar, r.center());
        break;
    }
    case ScrollAction::Home:
        bar->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(bar, Qt::Key_Home);
        break;
    case ScrollAction::End:
        bar->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(bar, Qt::Key_End);
        break;
    }
    pump();
    return true;
}

bool Driver::dragThumb(HWND dialog, int id, int position) {
    auto* bar = qobject_cast<QScrollBar*>(usable(dialog, id, "dragThumb"));
    if (!bar) return false;
    const QRect thumb = scrollPart(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = scrollPart(bar, QStyle::SC_ScrollBarGroove);
    const QPoint start = thumb.center();
    const int span = groove.width() - thumb.width();
    const int offset = QStyle::sliderPositionFromValue(bar->minimum(), bar->maximum(), position, span);
    const QPoint end(groove.left() + offset + thumb.width() / 2, start.y());
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, start);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(bar, QPoint(start.x() + (end.x() - start.x()) * i / steps, start.y()));
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, end);
    pump();
    return true;
}

bool Driver::toggleInputPanel() {
    auto* button = qobject_cast<QToolButton*>(findDeviceChild("InputPanelButton"));
    if (!button || !button->isVisible()) {
        ADD_FAILURE() << "toggleInputPanel: the input-panel button is not shown";
        return false;
    }
    click(button, button->rect().center());
    pump();
    return true;
}

bool Driver::typeOnInputPanel(const std::u16string& text) {
    QWidget* panel = findDeviceChild("InputPanel");
    if (!panel || !panel->isVisible()) {
        ADD_FAILURE() << "typeOnInputPanel: the input panel is not shown";
        return false;
    }
    const QList<QToolButton*> keys = panel->findChildren<QToolButton*>();
    auto keyNamed = [&](const QString& name) -> QToolButton* {
        for (QToolButton* key : keys)
            if (key->accessibleName() == name) return key;
        return nullptr;
    };
    for (QChar c : QString::fromStdU16String(text)) {
        QToolButton* key = nullptr;
        if (c == QLatin1Char(' ')) {
            key = keyNamed(QStringLiteral("Leertaste"));
        } else if (c == QLatin1Char('\n')) {
            key = keyNamed(QStringLiteral("Eingabe"));
        } else if (c == QChar(0x8)) {
            key = keyNamed(QStringLiteral("Rücktaste"));
        } else {
            const bool capital = c.isUpper();
            if (capital) {
                QToolButton* shift = keyNamed(QStringLiteral("Umschalt"));
                if (shift) click(shift, shift->rect().center());
            }
            key = keyNamed(capital ? QString(c) : QString(c).toLower());
            if (!key) key = keyNamed(QString(c).toLower());
        }
        if (!key) {
            ADD_FAILURE() << "typeOnInputPanel: no key for '" << QString(c).toStdString() << "'";
            return false;
        }
        click(key, key->rect().center());
    }
    pump();
    return true;
}

void Driver::pump(int ms) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    if (ms > 0) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    QApplication::processEvents();
}

bool Driver::waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

void Driver::answerNext(int answer) {
    answers_.push_back(answer);
}

// ---- Reading ----------------------------------------------------------------------------------

std::u16string Driver::text(HWND window) const {
    const int length = GetWindowTextLengthW(window);
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(std::max(0, copied)));
    return buffer;
}

bool Driver::visible(HWND window) const {
    QWidget* target = widget(window);
    return IsWindowVisible(window) && target && target->isVisible();
}

bool Driver::visible(HWND dialog, int id) const {
    return visible(GetDlgItem(dialog, id));
}

bool Driver::enabled(HWND dialog, int id) const {
    QWidget* target = widget(dialog, id);
    return target && target->isEnabled();
}

bool Driver::checked(HWND dialog, int id) const {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

std::vector<std::u16string> Driver::items(HWND dialog, int id) const {
    std::vector<std::u16string> result;
    QWidget* target = widget(dialog, id);
    if (auto* combo = qobject_cast<QComboBox*>(target)) {
        for (int i = 0; i < combo->count(); ++i)
            result.push_back(toU16(combo->itemText(i)));
    } else if (auto* list = qobject_cast<QListWidget*>(target)) {
        for (int i = 0; i < list->count(); ++i)
            result.push_back(toU16(list->item(i)->text()));
    }
    return result;
}

int Driver::selectedIndex(HWND dialog, int id) const {
    QWidget* target = widget(dialog, id);
    if (auto* combo = qobject_cast<QComboBox*>(target)) return combo->currentIndex();
    if (auto* list = qobject_cast<QListWidget*>(target))
        return list->selectedItems().isEmpty() ? -1 : list->currentRow();
    return -1;
}

namespace {
TreeItemInfo describe(QTreeWidgetItem* item) {
    TreeItemInfo info;
    info.label = toU16(item->text(0));
    info.data = static_cast<LPARAM>(item->data(0, Qt::UserRole + 1).toLongLong());
    info.expanded = item->isExpanded();
    info.selected = item->treeWidget() && item->treeWidget()->currentItem() == item;
    for (int i = 0; i < item->childCount(); ++i)
        info.children.push_back(describe(item->child(i)));
    return info;
}
} // namespace

std::vector<TreeItemInfo> Driver::treeItems(HWND dialog, int id) const {
    std::vector<TreeItemInfo> result;
    if (auto* tree = qobject_cast<QTreeWidget*>(widget(dialog, id)))
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            result.push_back(describe(tree->topLevelItem(i)));
    return result;
}

std::u16string Driver::selectedTreeLabel(HWND dialog, int id) const {
    auto* tree = qobject_cast<QTreeWidget*>(widget(dialog, id));
    return tree && tree->currentItem() ? toU16(tree->currentItem()->text(0)) : std::u16string();
}

std::vector<std::u16string> Driver::tabs(HWND dialog, int id) const {
    std::vector<std::u16string> result;
    if (auto* bar = qobject_cast<QTabBar*>(widget(dialog, id)))
        for (int i = 0; i < bar->count(); ++i)
            result.push_back(toU16(bar->tabText(i)));
    return result;
}

int Driver::currentTab(HWND dialog, int id) const {
    auto* bar = qobject_cast<QTabBar*>(widget(dialog, id));
    return bar ? bar->currentIndex() : -1;
}

QRect Driver::rect(HWND dialog, int id) const {
    QWidget* target = widget(dialog, id);
    QWidget* surface = widget(dialog);
    if (!target || !surface) return QRect();
    return QRect(target->mapTo(surface, QPoint(0, 0)), target->size());
}

QWidget* Driver::widget(HWND window) const {
    Window* w = live(window);
    return w ? w->widget.data() : nullptr;
}

QImage Driver::grab(HWND window) const {
    QWidget* target = widget(window);
    if (!target) return QImage();
    QCoreApplication::processEvents();
    QImage image(target->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    target->render(&image);
    return image;
}

QColor Driver::pixel(HWND window, int x, int y) const {
    const QImage image = grab(window);
    if (image.isNull() || !image.rect().contains(x, y)) return QColor();
    return image.pixelColor(x, y);
}

QColor Driver::devicePixel(int x, int y) const {
    QCoreApplication::processEvents();
    const QImage image = platform::grabDevice(1);
    if (image.isNull() || !image.rect().contains(x, y)) return QColor();
    return image.pixelColor(x, y);
}

QImage Driver::grabDevice(int scale) const {
    QCoreApplication::processEvents();
    return platform::grabDevice(scale);
}

bool Driver::saveScreen(const QString& path, int scale) const {
    QCoreApplication::processEvents();
    return platform::saveDevicePng(path, scale);
}

std::u16string Driver::deviceCaption() const {
    auto* caption = qobject_cast<QLabel*>(findDeviceChild("DeviceCaption"));
    return caption ? toU16(caption->text()) : std::u16string();
}

bool Driver::doneButtonShown() const {
    QWidget* done = findDeviceChild("DoneButton");
    return done && done->isVisible();
}

bool Driver::inputPanelShown() const {
    QWidget* panel = findDeviceChild("InputPanel");
    return panel && panel->isVisible();
}

} // namespace platform::testing
