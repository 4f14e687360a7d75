// The device window: title bar with the active dialog's caption and done button, the dialog
// area, the menu bar with the input-panel button, and the input panel (a German keyboard).
// Differs from the platform: there is no Start menu, clock or task bar; the input panel offers
// one keyboard layout besides the system's input method. The device lies in a host window of any
// size, shown as large as fits on a calm ground of the device's casing colour.
#include "platform/shell/device_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/gdi_internal.h"
#include "platform/shell/device_fit.h"
#include "platform/shell/shell.h"
#include "platform/shell/window_memory.h"
#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "platform/ui/window.h"

namespace platform {
namespace {

using namespace platform::ui;

constexpr int kWidth = kDeviceWidth;
constexpr int kHeight = kDeviceHeight;
constexpr int kBarHeight = 26;
constexpr int kPanelHeight = 80;
// The casing around the screen: dark and plain, so that the screen stands out and nothing else.
const QColor kCasingColour(58, 58, 62);

QFont shellFont(int pixels, bool bold) {
    QFont font = templateFont(u"Tahoma", 8);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// One key of the input panel. Keys never take the focus, so the edit keeps it.
class KeyButton : public QToolButton {
  public:
    KeyButton(QWidget* parent, const QString& label) : QToolButton(parent) {
        setText(label);
        setAccessibleName(label);
        setFocusPolicy(Qt::NoFocus);
        setAutoRaise(false);
    }
};

// The input-panel button shows a keyboard drawn with lines: the keyboard sign is in no face the
// device ships, and finding one that has it costs a start-up a font match and a font of its own.
class KeyboardButton : public QToolButton {
  public:
    using QToolButton::QToolButton;

  protected:
    void paintEvent(QPaintEvent* event) override {
        QToolButton::paintEvent(event);
        QPainter painter(this);
        painter.scale(ui::deviceScale(), ui::deviceScale());
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1));
        const QSize size = deviceSize(this);
        const QRect board(size.width() / 2 - 8, size.height() / 2 - 5, 16, 10);
        painter.drawRect(board);
        for (int row = 0; row < 2; ++row)
            for (int key = 0; key < 6; ++key)
                painter.fillRect(board.left() + 2 + 2 * key + (row ? 1 : 0), board.top() + 2 + 2 * row, 1, 1,
                                 painter.pen().color());
        painter.drawLine(board.left() + 4, board.top() + 7, board.right() - 4, board.top() + 7);
    }
};

class InputPanel : public QWidget {
  public:
    explicit InputPanel(QWidget* parent) : QWidget(parent) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, QColor(212, 208, 200));
        setPalette(p);
        setAccessibleName(QStringLiteral("Eingabefeld"));
    }
    // The keys are made when the panel first shows: most starts never raise it, and its forty-odd
    // buttons cost more at start-up than the whole main menu's controls.
    // Making them tells screen readers of every key's name twice, a flood that drowned the
    // edit's own focus; nothing of the panel shows yet, so readers are told nothing.
    void setVisible(bool visible) override {
        if (visible && !shift_) {
            const ReadersUntold untold;
            makeKeys();
        }
        QWidget::setVisible(visible);
    }

  private:
    void makeKeys() {
        const QStringList rows = {QStringLiteral("1234567890ß"), QStringLiteral("qwertzuiopü"),
                                  QStringLiteral("asdfghjklöä"), QStringLiteral("yxcvbnm,.-")};
        const int keyWidth = 20, keyHeight = 16;
        int y = 0;
        for (int row = 0; row < rows.size(); ++row) {
            int x = row == 3 ? 30 : 0;
            for (QChar c : rows[row]) {
                auto* key = new KeyButton(this, QString(c));
                setDeviceGeometry(key, QRect(x, y, keyWidth, keyHeight));
                connect(key, &QToolButton::clicked, this, [this, c] { typeCharacter(c); });
                letters_.push_back(key);
                x += keyWidth;
            }
            if (row == 0)
                addKey(QStringLiteral("←"), QStringLiteral("Rücktaste"), x, y, 20, Qt::Key_Backspace);
            if (row == 1)
                addKey(QStringLiteral("↵"), QStringLiteral("Eingabe"), x, y, 20, Qt::Key_Return,
                       2 * keyHeight);
            y += keyHeight;
        }
        shift_ = new KeyButton(this, QStringLiteral("⇧"));
        shift_->setAccessibleName(QStringLiteral("Umschalt"));
        shift_->setCheckable(true);
        setDeviceGeometry(shift_, QRect(0, 3 * keyHeight, 30, keyHeight));
        connect(shift_, &QToolButton::toggled, this, [this](bool) { relabel(); });
        auto* space = new KeyButton(this, QString());
        space->setAccessibleName(QStringLiteral("Leertaste"));
        setDeviceGeometry(space, QRect(40, 4 * keyHeight, 160, keyHeight));
        connect(space, &QToolButton::clicked, this, [this] { typeCharacter(QLatin1Char(' ')); });
        addKey(QStringLiteral("←"), QStringLiteral("Rücktaste"), 200, 4 * keyHeight, 40, Qt::Key_Backspace);
        auto* shift2 = new KeyButton(this, QStringLiteral("⇧"));
        shift2->setAccessibleName(QStringLiteral("Umschalt"));
        setDeviceGeometry(shift2, QRect(0, 4 * keyHeight, 40, keyHeight));
        connect(shift2, &QToolButton::clicked, shift_, &QToolButton::toggle);
    }
    void addKey(const QString& label, const QString& name, int x, int y, int w, Qt::Key keyCode, int h = 16) {
        auto* key = new KeyButton(this, label);
        key->setAccessibleName(name);
        setDeviceGeometry(key, QRect(x, y, w, h));
        connect(key, &QToolButton::clicked, this, [keyCode] { sendKey(keyCode, QString()); });
    }
    void relabel() {
        for (KeyButton* key : letters_) {
            const QString text = key->text();
            key->setText(shift_->isChecked() ? upper(text) : text.toLower());
        }
    }
    static QString upper(const QString& text) {
        if (text == QStringLiteral("ß")) return text; // no capital in the device's keyboard
        return text.toUpper();
    }
    void typeCharacter(QChar c) {
        QString text(c);
        if (shift_->isChecked()) {
            text = upper(text);
            shift_->setChecked(false);
        }
        sendKey(Qt::Key_unknown, text);
    }
    static void sendKey(int key, const QString& text) {
        QWidget* target = QApplication::focusWidget();
        if (!target) return;
        if (key == Qt::Key_unknown && text.size() == 1) {
            const QChar c = text[0];
            if (c.isLetterOrNumber() && c.unicode() < 128) key = c.toUpper().unicode();
            if (c == QLatin1Char(' ')) key = Qt::Key_Space;
        }
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &press);
        if (QApplication::focusWidget() == target) QApplication::sendEvent(target, &release);
    }
    QVector<KeyButton*> letters_;
    KeyButton* shift_ = nullptr;
};

class Bar : public QWidget {
  public:
    Bar(QWidget* parent, QColor color) : QWidget(parent) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, color);
        p.setColor(QPalette::WindowText, Qt::white);
        setPalette(p);
    }
};

class DeviceWindow : public QWidget, public ShellHost {
  public:
    explicit DeviceWindow(QWidget* host) : QWidget(host) {
        setObjectName(QStringLiteral("Device"));
        setWindowTitle(QStringLiteral("Talvino"));
        setDeviceRoot(this);
        setDeviceFont(this, QApplication::font());
        resize(toWindow(QRect(0, 0, kWidth, kHeight)).size());
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);

        titleBar_ = new Bar(this, QColor(0, 0, 132));
        setDeviceGeometry(titleBar_, QRect(0, 0, kWidth, kBarHeight));
        caption_ = new QLabel(titleBar_);
        setDeviceFont(caption_, shellFont(13, true));
        setDeviceGeometry(caption_, QRect(6, 0, kWidth - 40, kBarHeight));
        caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        caption_->setObjectName(QStringLiteral("DeviceCaption"));
        done_ = new QPushButton(QStringLiteral("ok"), titleBar_);
        done_->setObjectName(QStringLiteral("DoneButton"));
        done_->setAccessibleName(QStringLiteral("ok"));
        setDeviceFont(done_, shellFont(12, true));
        done_->setFocusPolicy(Qt::NoFocus);
        setDeviceGeometry(done_, QRect(kWidth - 30, 3, 27, kBarHeight - 6));
        done_->hide();
        connect(done_, &QPushButton::clicked, this, [] {
            if (Window* dialog = ui::activeDialog())
                sendObserved(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });

        area_ = new QWidget(this);
        area_->setObjectName(QStringLiteral("DialogArea"));
        setDeviceGeometry(area_, QRect(0, kBarHeight, kWidth, kHeight - 2 * kBarHeight));

        menuBar_ = new Bar(this, QColor(212, 208, 200));
        setDeviceGeometry(menuBar_, QRect(0, kHeight - kBarHeight, kWidth, kBarHeight));
        auto* sipButton = new KeyboardButton(menuBar_);
        sipButton->setObjectName(QStringLiteral("InputPanelButton"));
        sipButton->setAccessibleName(QStringLiteral("Eingabefeld ein/aus"));
        sipButton->setFocusPolicy(Qt::NoFocus);
        setDeviceGeometry(sipButton, QRect(kWidth - 36, 2, 32, kBarHeight - 4));
        sipButtonWindow_ = createWindow(Kind::Shell, kInputPanelButtonClass, nullptr, sipButton);
        sipButtonWindow_->visible = true;
        connect(sipButton, &QToolButton::clicked, this,
                [this] { ShowWindow(panelWindow_, IsWindowVisible(panelWindow_) ? SW_HIDE : SW_SHOW); });

        auto* panel = new InputPanel(this);
        panel->setObjectName(QStringLiteral("InputPanel"));
        setDeviceGeometry(panel, QRect(0, kHeight - kBarHeight - kPanelHeight, kWidth, kPanelHeight));
        panel->hide();
        panelWindow_ = createWindow(Kind::Shell, kInputPanelClass, nullptr, panel);
        panelWindow_->visible = false;

        setShellHost(this);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { closePanelOver(now); });
    }
    ~DeviceWindow() override {
        setShellHost(nullptr);
        // Dialogs live in the dialog area: end the modal ones, destroy the others with their windows.
        const std::vector<Window*> open = dialogStack();
        for (auto it = open.rbegin(); it != open.rend(); ++it)
            platform::destroyDialog(*it);
        destroyWindow(panelWindow_);
        destroyWindow(sipButtonWindow_);
    }

    QWidget* dialogArea() override { return area_; }

    void activeDialogChanged() override {
        Window* dialog = ui::activeDialog();
        caption_->setText(dialog ? toQString(dialog->text) : QString());
        caption_->setAccessibleName(caption_->text());
        // Task bars, window switchers and screen readers name the window after the screen on top.
        const QString title = caption_->text().isEmpty() ? QStringLiteral("Talvino") : caption_->text();
        setWindowTitle(title);
        window()->setWindowTitle(title);
        done_->setVisible(dialog && (dialog->shellFlags & SHIDIF_DONEBUTTON));
        panelOnTop();
    }

    void sipChanged() override {
        panelOnTop();
        const bool shown = panelWindow_ && IsWindowVisible(panelWindow_);
        if (shown == panelShown_) return;
        panelShown_ = shown;
        // Raising or lowering the panel is a setting change for the active dialog.
        if (Window* dialog = ui::activeDialog())
            SendMessageW(dialog, WM_SETTINGCHANGE, 0x00E0 /* SPI_SETSIPINFO */, 0);
    }

  private:
    // A control that takes the focus under the input panel is not left covered: the panel closes.
    // A tall list whose upper part shows is not covered.
    void closePanelOver(QWidget* focus) {
        if (!focus || !area_->isAncestorOf(focus) || !panelWindow_ || !panelWindow_->widget) return;
        if (!IsWindowVisible(panelWindow_)) return;
        const QRect shown(focus->mapTo(this, QPoint(0, 0)), focus->size());
        if (panelWindow_->widget->geometry().contains(shown.center())) ShowWindow(panelWindow_, SW_HIDE);
    }
    void panelOnTop() {
        if (panelWindow_ && panelWindow_->widget) panelWindow_->widget->raise();
    }
    QWidget* titleBar_ = nullptr;
    QWidget* menuBar_ = nullptr;
    QLabel* caption_ = nullptr;
    QPushButton* done_ = nullptr;
    QWidget* area_ = nullptr;
    Window* sipButtonWindow_ = nullptr;
    Window* panelWindow_ = nullptr;
    bool panelShown_ = false;
};

// The window the desktop or the compositor sees: the device centred in it at the largest scale
// that fits, or at the scale the user fixed. Every change of size rescales the device at once;
// what its screens show stays as it is.
class HostWindow : public QWidget {
  public:
    HostWindow() {
        setObjectName(QStringLiteral("DeviceHost"));
        setWindowTitle(QStringLiteral("Talvino"));
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, kCasingColour);
        setPalette(p);
        setMinimumSize(kWidth, kHeight);
        device_ = new DeviceWindow(this);
        resize(kWidth, kHeight);
        fit();
    }
    DeviceWindow* device() const { return device_; }
    double fixedScale() const { return fixedScale_; }

    void setFixedScale(double scale) {
        fixedScale_ = scale;
        if (scale > 0) {
            setFixedSize(windowSizeAt(scale));
        } else {
            setMinimumSize(kWidth, kHeight);
            setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        fit();
    }
    // From now on a size the user gives the window is kept for the next start.
    void rememberUserSizes() { remember_ = true; }
    void resizeTo(QSize size) {
        placedSize_ = size;
        resize(size);
    }
    void keepUserSize() const {
        if (remember_ && userSized_) rememberWindowSize(normalGeometry().size());
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        fit();
        const bool plain = !(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized));
        if (isVisible() && plain && fixedScale_ <= 0 && size() != placedSize_) userSized_ = true;
    }
    // The window manager's close (its button, Alt+F4) ends the program as the done buttons do;
    // the window stays until the main menu's shutdown has run.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        endProgram();
    }

  private:
    void fit() {
        const DeviceFit fit = fitDevice(size(), fixedScale_);
        if (std::abs(fit.scale - ui::deviceScale()) > 1e-9) rescaleDevice(fit.scale);
        device_->setGeometry(fit.device);
    }
    DeviceWindow* device_ = nullptr;
    double fixedScale_ = 0;
    bool remember_ = false;
    bool userSized_ = false;
    QSize placedSize_;
};

HostWindow* host = nullptr;

// An edit that takes the focus, by a tap or a key, asks the system's on-screen keyboard to show
// (a desktop without one ignores it); the device's own input panel stays where it is.
class KeyboardOnFocus : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->testAttribute(Qt::WA_InputMethodEnabled) && host && host->isAncestorOf(widget))
                QGuiApplication::inputMethod()->show();
        }
        return false;
    }
};

HostWindow* createHost() {
    if (!host) {
        platform::gdi::registerDeviceFonts();
        host = new HostWindow;
        static KeyboardOnFocus* keyboard = nullptr;
        if (!keyboard) {
            keyboard = new KeyboardOnFocus(qApp);
            qApp->installEventFilter(keyboard);
        }
    }
    return host;
}

} // namespace

QWidget* createDeviceWindow() {
    createHost()->show();
    return host->device();
}

void showDeviceWindow(double fixedScale) {
    createHost();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen && isPhoneSized(screen->size())) {
        // A phone's screen: no desktop frame; the device's title bar is the program's.
        host->showFullScreen();
        return;
    }
    if (fixedScale > 0) {
        host->setFixedScale(fixedScale);
        host->show();
        return;
    }
    const QSize available = screen ? screen->availableGeometry().size() : QSize();
    QSize size = rememberedWindowSize();
    if (size.isValid() && available.isValid()) size = size.boundedTo(available);
    // Headless (offscreen) there is no screen to fit: the device at its own size.
    const bool headless = QGuiApplication::platformName() == QStringLiteral("offscreen");
    if (!size.isValid()) size = windowSizeAt(!headless && screen && screen->size().height() >= 800 ? 2 : 1);
    host->resizeTo(size.expandedTo(QSize(kWidth, kHeight)));
    host->rememberUserSizes();
    host->show();
}

QWidget* deviceWindow() {
    return host ? host->device() : nullptr;
}

QWidget* deviceHostWindow() {
    return host;
}

void destroyDeviceWindow() {
    if (!host) return;
    host->keepUserSize();
    delete host;
    host = nullptr;
    rescaleDevice(1);
}

double deviceScale() {
    return ui::deviceScale();
}

void setDeviceScale(double scale) {
    createHost()->setFixedScale(scale);
}

QImage grabDevice(double scale) {
    DeviceWindow* device = host ? host->device() : nullptr;
    if (!device) return QImage();
    const double shown = ui::deviceScale();
    if (scale <= 0) scale = shown;
    QImage image(windowSizeAt(scale), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale / shown);
    image.fill(Qt::white);
    device->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

bool saveDevicePng(const QString& path, double scale) {
    const QImage image = grabDevice(scale);
    return !image.isNull() && image.save(path, "PNG");
}

double scaleArgument(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0) {
            const double scale = std::strtod(argv[i + 1], nullptr);
            if (scale >= 1 && scale <= 4) return scale;
        }
    }
    return 0;
}

} // namespace platform
