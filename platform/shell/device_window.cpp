// The device window: title bar with the active dialog's caption and done button, the dialog
// area, the menu bar with the input-panel button, and the input panel (a German keyboard).
// Differs from the platform: there is no Start menu, clock or task bar; the input panel offers
// one keyboard layout and no other input methods.
#include "platform/shell/device_window.h"
#include "platform/shell/x_screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <cstring>

#include "platform/gdi/gdi_internal.h"
#include "platform/shell/shell.h"
#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "platform/ui/window.h"

namespace platform {
namespace {

using namespace platform::ui;

constexpr int kWidth = 240;
constexpr int kHeight = 320;
constexpr int kBarHeight = 26;
constexpr int kPanelHeight = 80;

int currentScale = 1;

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
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1));
        const QRect board(width() / 2 - 8, height() / 2 - 5, 16, 10);
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
    void setVisible(bool visible) override {
        if (visible && !shift_) makeKeys();
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
                key->setGeometry(x, y, keyWidth, keyHeight);
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
        shift_->setGeometry(0, 3 * keyHeight, 30, keyHeight);
        connect(shift_, &QToolButton::toggled, this, [this](bool) { relabel(); });
        auto* space = new KeyButton(this, QString());
        space->setAccessibleName(QStringLiteral("Leertaste"));
        space->setGeometry(40, 4 * keyHeight, 160, keyHeight);
        connect(space, &QToolButton::clicked, this, [this] { typeCharacter(QLatin1Char(' ')); });
        addKey(QStringLiteral("←"), QStringLiteral("Rücktaste"), 200, 4 * keyHeight, 40, Qt::Key_Backspace);
        auto* shift2 = new KeyButton(this, QStringLiteral("⇧"));
        shift2->setAccessibleName(QStringLiteral("Umschalt"));
        shift2->setGeometry(0, 4 * keyHeight, 40, keyHeight);
        connect(shift2, &QToolButton::clicked, shift_, &QToolButton::toggle);
    }
    void addKey(const QString& label, const QString& name, int x, int y, int w, Qt::Key keyCode, int h = 16) {
        auto* key = new KeyButton(this, label);
        key->setAccessibleName(name);
        key->setGeometry(x, y, w, h);
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
    DeviceWindow() {
        setWindowTitle(QStringLiteral("Talvino"));
        setFixedSize(kWidth, kHeight);
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, Qt::white);
        setPalette(p);

        titleBar_ = new Bar(this, QColor(0, 0, 132));
        titleBar_->setGeometry(0, 0, kWidth, kBarHeight);
        caption_ = new QLabel(titleBar_);
        caption_->setFont(shellFont(13, true));
        caption_->setGeometry(6, 0, kWidth - 40, kBarHeight);
        caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        caption_->setObjectName(QStringLiteral("DeviceCaption"));
        done_ = new QPushButton(QStringLiteral("ok"), titleBar_);
        done_->setObjectName(QStringLiteral("DoneButton"));
        done_->setAccessibleName(QStringLiteral("ok"));
        done_->setFont(shellFont(12, true));
        done_->setFocusPolicy(Qt::NoFocus);
        done_->setGeometry(kWidth - 30, 3, 27, kBarHeight - 6);
        done_->hide();
        connect(done_, &QPushButton::clicked, this, [] {
            if (Window* dialog = ui::activeDialog())
                sendObserved(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });

        area_ = new QWidget(this);
        area_->setObjectName(QStringLiteral("DialogArea"));
        area_->setGeometry(0, kBarHeight, kWidth, kHeight - 2 * kBarHeight);

        menuBar_ = new Bar(this, QColor(212, 208, 200));
        menuBar_->setGeometry(0, kHeight - kBarHeight, kWidth, kBarHeight);
        auto* sipButton = new KeyboardButton(menuBar_);
        sipButton->setObjectName(QStringLiteral("InputPanelButton"));
        sipButton->setAccessibleName(QStringLiteral("Eingabefeld ein/aus"));
        sipButton->setFocusPolicy(Qt::NoFocus);
        sipButton->setGeometry(kWidth - 36, 2, 32, kBarHeight - 4);
        sipButtonWindow_ = createWindow(Kind::Shell, kInputPanelButtonClass, nullptr, sipButton);
        sipButtonWindow_->visible = true;
        connect(sipButton, &QToolButton::clicked, this,
                [this] { ShowWindow(panelWindow_, IsWindowVisible(panelWindow_) ? SW_HIDE : SW_SHOW); });

        auto* panel = new InputPanel(this);
        panel->setObjectName(QStringLiteral("InputPanel"));
        panel->setGeometry(0, kHeight - kBarHeight - kPanelHeight, kWidth, kPanelHeight);
        panel->hide();
        panelWindow_ = createWindow(Kind::Shell, kInputPanelClass, nullptr, panel);
        panelWindow_->visible = false;

        setShellHost(this);
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
        setWindowTitle(caption_->text().isEmpty() ? QStringLiteral("Talvino") : caption_->text());
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

  protected:
    // The window manager's close (its button, Alt+F4) ends the program as the done buttons do;
    // the window stays until the main menu's shutdown has run.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        endProgram();
    }

  private:
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

DeviceWindow* device = nullptr;

} // namespace

QWidget* createDeviceWindow() {
    if (device) return device;
    platform::gdi::registerDeviceFonts();
    device = new DeviceWindow;
    device->show();
    return device;
}

QWidget* deviceWindow() {
    return device;
}

void destroyDeviceWindow() {
    delete device;
    device = nullptr;
}

int deviceScale() {
    return currentScale;
}
void setDeviceScale(int scale) {
    currentScale = scale < 1 ? 1 : scale;
}

QImage grabDevice(int scale) {
    if (!device) return QImage();
    if (scale <= 0) scale = currentScale;
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    device->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

bool saveDevicePng(const QString& path, int scale) {
    const QImage image = grabDevice(scale);
    return !image.isNull() && image.save(path, "PNG");
}

int chooseDeviceScale(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0) {
            const int scale = std::atoi(argv[i + 1]);
            if (scale >= 1 && scale <= 4) return scale;
        }
    }
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") return 1;
    int height = xScreenHeight();
    if (height == 0) {
        // Elsewhere the screen is known only to an application; look with a short-lived one.
        int probeArgc = 1;
        char* probeArgv[] = {argv && argc > 0 ? argv[0] : const_cast<char*>("talvino"), nullptr};
        QGuiApplication probe(probeArgc, probeArgv);
        if (QScreen* screen = QGuiApplication::primaryScreen()) height = screen->size().height();
    }
    return height >= 800 ? 2 : 1;
}

} // namespace platform
