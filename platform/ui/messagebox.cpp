// Message boxes as the device's own modal boxes. Differs from the platform: the box lies over
// the dialog area of the device window (not a window of its own); only OK and Yes/No buttons and
// the information and question icons exist; German button texts as on a German device. A screen
// reader meets the box as an alert, named by its caption, with its text as description.
#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "platform/ui/window.h"

namespace platform::ui {
namespace {

platform::MessageBoxResponder responder;

// The box on screen, so that the program's end can answer it.
struct OpenBox {
    QEventLoop* loop;
    int* answer;
    int cancel;
};
OpenBox* openBox = nullptr;

int cancelAnswer(UINT type) {
    return (type & 0x0F) == MB_YESNO ? IDNO : IDOK;
}

class MessageBoxFrame : public QFrame {
  public:
    MessageBoxFrame(QWidget* parent, QEventLoop* loop, int* answer, int escapeAnswer)
        : QFrame(parent), loop_(loop), answer_(answer), escapeAnswer_(escapeAnswer) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            *answer_ = escapeAnswer_;
            loop_->exit(0);
            return;
        }
        // Enter presses the focused button (the first one, which has the focus when the box opens).
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                button->click();
                return;
            }
        }
        QFrame::keyPressEvent(event);
    }

  private:
    QEventLoop* loop_;
    int* answer_;
    int escapeAnswer_;
};

int showBox(const QString& text, const QString& caption, UINT type) {
    const bool yesNo = (type & 0x0F) == MB_YESNO;
    const bool question = (type & 0xF0) == MB_ICONQUESTION;
    installAccessibility();
    QWidget* area = shellHost() ? shellHost()->dialogArea() : nullptr;
    QEventLoop loop;
    int answer = yesNo ? IDNO : IDOK;
    auto* box = new MessageBoxFrame(area, &loop, &answer, yesNo ? IDNO : IDOK);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(1);
    box->setAutoFillBackground(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::white);
    box->setPalette(palette);
    box->setAccessibleName(caption);
    box->setAccessibleDescription(text);

    auto* layout = new QVBoxLayout(box);
    auto* title = new QLabel(caption, box);
    title->setAutoFillBackground(true);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::Window, QColor(0, 0, 132));
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(titlePalette);
    QFont titleFont = templateFont(u"Tahoma", 8);
    titleFont.setBold(true);
    setDeviceFont(title, titleFont);
    layout->addWidget(title);

    auto* body = new QHBoxLayout;
    auto* icon = new QLabel(box);
    icon->setAlignment(Qt::AlignTop);
    icon->setAccessibleName(question ? QStringLiteral("Frage") : QStringLiteral("Information"));
    body->addWidget(icon);
    auto* message = new QLabel(text, box);
    message->setObjectName(QStringLiteral("MessageBoxText"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    setDeviceFont(message, templateFont(u"Tahoma", 8));
    message->setAccessibleName(text);
    body->addWidget(message, 1);
    layout->addLayout(body);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    QList<QPushButton*> shownButtons;
    auto addButton = [&](const QString& label, int id) {
        auto* button = new QPushButton(label, box);
        button->setAccessibleName(label);
        setDeviceFont(button, templateFont(u"Tahoma", 8));
        shownButtons.append(button);
        QObject::connect(button, &QPushButton::clicked, box, [&answer, &loop, id] {
            answer = id;
            loop.exit(0);
        });
        buttons->addWidget(button);
        return button;
    };
    QPushButton* first =
        yesNo ? addButton(QStringLiteral("Ja"), IDYES) : addButton(QStringLiteral("OK"), IDOK);
    if (yesNo) addButton(QStringLiteral("Nein"), IDNO);
    buttons->addStretch();
    layout->addLayout(buttons);
    first->setDefault(true);

    // Margins, icon and sizes in device pixels, shown at the device's scale (again when it changes).
    const QStyle::StandardPixmap iconKind =
        question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxInformation;
    const auto placeBox = [box, layout, title, body, icon, iconKind, shownButtons, area] {
        const auto shown = [](int devicePixels) { return static_cast<int>(std::lround(devicePixels * deviceScale())); };
        layout->setContentsMargins(shown(1), shown(1), shown(1), shown(6));
        layout->setSpacing(shown(6));
        title->setContentsMargins(shown(4), shown(3), shown(4), shown(3));
        body->setContentsMargins(shown(6), 0, shown(6), 0);
        icon->setPixmap(box->style()->standardIcon(iconKind).pixmap(QSize(shown(32), shown(32))));
        for (QPushButton* button : shownButtons)
            button->setMinimumWidth(shown(56));
        const QSize areaSize = area ? deviceSize(area) : QSize(240, 268);
        const int width = std::min(areaSize.width() - 12, 228);
        const int shownWidth = toWindow(QRect(0, 0, width, 1)).width();
        box->setFixedWidth(shownWidth);
        // A word-wrapped text needs its height for the box's real width; sizeHint guesses another
        // width and would cut the last lines off.
        const int shownHeight = layout->totalHeightForWidth(shownWidth);
        box->setFixedHeight(shownHeight);
        const int height = static_cast<int>(std::ceil(shownHeight / deviceScale() - 1e-9));
        if (area)
            setDeviceGeometry(box, QRect((areaSize.width() - width) / 2,
                                         std::max(0, (areaSize.height() - height) / 3), width, height));
    };
    placeBox();
    whenRescaled(box, placeBox);

    QPointer<QWidget> previousBox = messageBoxWidget();
    QPointer<QWidget> previousFocus = QApplication::focusWidget();
    setMessageBoxWidget(box);
    box->show();
    box->raise();
    first->setFocus(Qt::OtherFocusReason);
    // A screen reader announces the box as it opens.
    QAccessibleEvent opened(box, QAccessible::Alert);
    announce(&opened);
    OpenBox self{&loop, &answer, cancelAnswer(type)};
    OpenBox* previousOpen = std::exchange(openBox, &self);
    loop.exec(QEventLoop::DialogExec);
    openBox = previousOpen;
    setMessageBoxWidget(previousBox);
    box->hide();
    box->deleteLater();
    if (previousFocus) previousFocus->setFocus(Qt::OtherFocusReason);
    return answer;
}

} // namespace

void answerOpenMessageBoxWithCancel() {
    if (!openBox) return;
    *openBox->answer = openBox->cancel;
    openBox->loop->exit(0);
}

} // namespace platform::ui

void platform::setMessageBoxResponder(MessageBoxResponder answer) {
    platform::ui::responder = std::move(answer);
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    using namespace platform::ui;
    const std::u16string body = text ? std::u16string(text) : std::u16string();
    const std::u16string title = caption ? std::u16string(caption) : std::u16string(u"Fehler");
    // A program that is ending asks nothing more: every box takes its cancel choice unseen.
    if (platform::programEnding()) return cancelAnswer(type);
    if (responder) {
        auto answer = responder;
        return answer(owner, body, title, type);
    }
    if (!qApp) return cancelAnswer(type);
    return showBox(displayText(body), toQString(title), type);
}
