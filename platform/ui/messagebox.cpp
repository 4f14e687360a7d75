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
    layout->setContentsMargins(1, 1, 1, 6);
    layout->setSpacing(6);
    auto* title = new QLabel(caption, box);
    title->setAutoFillBackground(true);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::Window, QColor(0, 0, 132));
    titlePalette.setColor(QPalette::WindowText, Qt::white);
    title->setPalette(titlePalette);
    QFont titleFont = templateFont(u"Tahoma", 8);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setContentsMargins(4, 3, 4, 3);
    layout->addWidget(title);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(6, 0, 6, 0);
    auto* icon = new QLabel(box);
    icon->setPixmap(
        box->style()
            ->standardIcon(question ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxInformation)
            .pixmap(32, 32));
    icon->setAlignment(Qt::AlignTop);
    icon->setAccessibleName(question ? QStringLiteral("Frage") : QStringLiteral("Information"));
    body->addWidget(icon);
    auto* message = new QLabel(text, box);
    message->setObjectName(QStringLiteral("MessageBoxText"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setFont(templateFont(u"Tahoma", 8));
    message->setAccessibleName(text);
    body->addWidget(message, 1);
    layout->addLayout(body);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto addButton = [&](const QString& label, int id) {
        auto* button = new QPushButton(label, box);
        button->setAccessibleName(label);
        button->setFont(templateFont(u"Tahoma", 8));
        button->setMinimumWidth(56);
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

    const int width = area ? std::min(area->width() - 12, 228) : 228;
    box->setFixedWidth(width);
    // A word-wrapped text needs its height for the box's real width; sizeHint guesses another width
    // and would cut the last lines off.
    box->setFixedHeight(layout->totalHeightForWidth(width));
    if (area)
        box->move((area->width() - box->width()) / 2, std::max(0, (area->height() - box->height()) / 3));

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
