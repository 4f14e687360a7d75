// What a screen reader finds in the device layer and what its actions do: names from labels,
// roles, presses and scroll steps that reach the dialog as a tap's messages, parts of pictures,
// message boxes as announced alerts, covered dialogs hidden, and the keys of a dialog.
#include <QAbstractItemView>
#include <QAccessible>
#include <QScrollBar>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/testing/message_recorder.h"
#include "platform/ui/hooks.h"
#include "platform/ui/window.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

QAccessibleInterface* of(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget);
}

QString nameOf(QWidget* widget) {
    QAccessibleInterface* node = of(widget);
    return node ? node->text(QAccessible::Name) : QString();
}

bool press(QAccessibleInterface* node, const QString& action = QAccessibleActionInterface::pressAction()) {
    if (!node || !node->actionInterface() || !node->actionInterface()->actionNames().contains(action))
        return false;
    node->actionInterface()->doAction(action);
    return true;
}

class LabelledTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        dialog = driver.open(module(), kLabelled, TestProc);
        ASSERT_TRUE(dialog);
    }
    void TearDown() override { setHandler({}); }
    QWidget* widget(int id) { return driver.widget(dialog, id); }
    Driver driver;
    HWND dialog = nullptr;
};

} // namespace

// ---- Names ----

TEST_F(LabelledTest, ControlsWithoutTextAreNamedByTheLabelBesideOrAboveThem) {
    EXPECT_EQ(nameOf(widget(kTermEdit)), "Suchbegriff:") << "label on the left, listed after the edit";
    EXPECT_EQ(nameOf(widget(kLabelledList)), "ROTWEIN:") << "label just above";
    EXPECT_EQ(nameOf(widget(kLabelledBar)), "Nach Güte:") << "a label of two lines reads as one";
    EXPECT_EQ(nameOf(widget(kGoodBox)), "bes.gut") << "a check box's label lies on its right";
    EXPECT_EQ(nameOf(widget(kRowPicture)), "Rebsorten") << "a picture is named by its row";
}

TEST_F(LabelledTest, TheLabelIsRelatedToItsControlBothWays) {
    QAccessibleInterface* edit = of(widget(kTermEdit));
    QAccessibleInterface* label = of(widget(kTermLabel));
    ASSERT_TRUE(edit && label);
    const auto labels = edit->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), widget(kTermLabel));
    const auto labelled = label->relations(QAccessible::Labelled);
    ASSERT_FALSE(labelled.isEmpty());
    EXPECT_EQ(labelled.front().first->object(), widget(kTermEdit));
}

TEST_F(LabelledTest, ALabelThatChangesRenamesItsControlUnlessTheScreenNamedIt) {
    SetDlgItemTextW(dialog, kTermLabel, u"Stichwort:");
    EXPECT_EQ(nameOf(widget(kTermEdit)), "Stichwort:");
    platform::setAccessibleName(GetDlgItem(dialog, kLabelledList), u"Rote Sorten");
    SetDlgItemTextW(dialog, kListLabel, u"ROT:");
    EXPECT_EQ(nameOf(widget(kLabelledList)), "Rote Sorten");
}

TEST_F(LabelledTest, RolesSayWhatAControlIs) {
    EXPECT_EQ(of(widget(kPanel))->role(), QAccessible::Grouping) << "a panel behind a group is no button";
    EXPECT_EQ(nameOf(widget(kPanel)), "Nach Güte:");
    EXPECT_EQ(of(widget(kRowLink))->role(), QAccessible::Link);
    EXPECT_EQ(of(widget(kRowPicture))->role(), QAccessible::Button);
    EXPECT_EQ(of(widget(kTermLabel))->role(), QAccessible::StaticText);
    EXPECT_EQ(of(widget(kLabelledBar))->role(), QAccessible::ScrollBar);
    EXPECT_EQ(of(driver.widget(dialog))->role(), QAccessible::Dialog);
    EXPECT_EQ(nameOf(driver.widget(dialog)), "Beschriftet");
}

// A reader speaks an edit's line from its attribute runs, its caret and its selection: every run
// covers the whole text (Orca left the last letter off when a run was empty), and text a reader
// writes reaches the dialog as typing does.
TEST_F(LabelledTest, AnEditReadsItsWholeLineAndTakesWhatAReaderWrites) {
    SetDlgItemTextW(dialog, kTermEdit, u"kalt");
    QAccessibleTextInterface* text = of(widget(kTermEdit))->textInterface();
    ASSERT_NE(text, nullptr);
    for (int offset = 0; offset < 4; ++offset) {
        int start = -1, end = -1;
        text->attributes(offset, &start, &end);
        EXPECT_EQ(text->text(start, end), "kalt") << "the run at " << offset;
    }
    text->setSelection(0, 0, 4);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(text->text(start, end), "kalt");
    EXPECT_EQ(text->cursorPosition(), 4);
    EXPECT_EQ(text->textAtOffset(text->cursorPosition(), QAccessible::LineBoundary, &start, &end), "kalt");
    MessageRecorder recorder(dialog);
    of(widget(kTermEdit))->editableTextInterface()->insertText(4, QStringLiteral("er Riesling"));
    EXPECT_EQ(driver.text(dialog, kTermEdit), u"kalter Riesling");
    EXPECT_EQ(recorder.count(WM_COMMAND), 1u) << "EN_CHANGE";
}

// ---- Actions travel the tap's path ----

TEST_F(LabelledTest, PressingALinkOrPictureSendsWhatATapSends) {
    for (int id : {kRowLink, kRowPicture}) {
        MessageRecorder tapped(dialog);
        driver.tap(dialog, id);
        MessageRecorder pressed(dialog);
        ASSERT_TRUE(press(of(widget(id)))) << id;
        EXPECT_EQ(pressed.count(WM_COMMAND), 0u) << "the reader's call returns before the press runs";
        driver.pump();
        EXPECT_EQ(pressed.entries(), tapped.entries()) << id;
        EXPECT_EQ(pressed.count(WM_COMMAND), 1u) << id;
    }
}

TEST_F(LabelledTest, ScrollBarActionsArriveAsScrollMessages) {
    const HWND bar = GetDlgItem(dialog, kLabelledBar);
    SetScrollRange(bar, SB_CTL, 0, 4, TRUE);
    SetScrollPos(bar, SB_CTL, 2, TRUE);
    QAccessibleInterface* node = of(widget(kLabelledBar));
    ASSERT_TRUE(node && node->valueInterface());
    EXPECT_EQ(node->valueInterface()->currentValue().toInt(), 2);
    EXPECT_EQ(node->valueInterface()->maximumValue().toInt(), 4);

    MessageRecorder recorder(dialog);
    ASSERT_TRUE(press(node, QAccessibleActionInterface::increaseAction()));
    recorder.mark();
    ASSERT_TRUE(press(node, QAccessibleActionInterface::decreaseAction()));
    recorder.mark();
    node->valueInterface()->setCurrentValue(4);
    EXPECT_TRUE(
        recorder.matches({hscroll(kLabelledBar, SB_LINERIGHT), hscroll(kLabelledBar, SB_ENDSCROLL), marker(),
                          hscroll(kLabelledBar, SB_LINELEFT), hscroll(kLabelledBar, SB_ENDSCROLL), marker(),
                          hscroll(kLabelledBar, SB_THUMBTRACK, 4), hscroll(kLabelledBar, SB_THUMBPOSITION, 4),
                          hscroll(kLabelledBar, SB_ENDSCROLL)}));
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 2) << "the dialog moves the thumb, not the reader";
}

TEST_F(LabelledTest, KeysReachLinksThatNoButtonCarriesAndPressThem) {
    widget(kTermEdit)->setFocus();
    for (int i = 0; i < 10 && GetFocus() != GetDlgItem(dialog, kLonelyLink); ++i)
        driver.pressKey(Qt::Key_Tab);
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog, kLonelyLink));
    MessageRecorder recorder(dialog);
    driver.pressKey(Qt::Key_Return);
    recorder.mark();
    driver.pressKey(Qt::Key_Space);
    EXPECT_TRUE(recorder.matches({stylusAnywhere(WM_MOUSEMOVE), command(kLonelyLink, STN_CLICKED), marker(),
                                  stylusAnywhere(WM_MOUSEMOVE), command(kLonelyLink, STN_CLICKED)}));
}

// A link that keys reach stays a plain label: no text document for selecting is made for it when
// it shows, takes the focus or changes its text (each one costs a layout and a font of its own).
TEST_F(LabelledTest, ALinkThatKeysReachKeepsNoTextDocument) {
    QWidget* link = widget(kLonelyLink);
    auto textDocuments = [link] {
        int count = 0;
        for (QObject* child : link->findChildren<QObject*>())
            if (QByteArray(child->metaObject()->className()) == "QWidgetTextControl") ++count;
        return count;
    };
    EXPECT_EQ(textDocuments(), 0) << "after showing";
    widget(kTermEdit)->setFocus();
    for (int i = 0; i < 10 && GetFocus() != GetDlgItem(dialog, kLonelyLink); ++i)
        driver.pressKey(Qt::Key_Tab);
    ASSERT_EQ(GetFocus(), GetDlgItem(dialog, kLonelyLink));
    EXPECT_EQ(textDocuments(), 0) << "after taking the focus";
    SetDlgItemTextW(dialog, kLonelyLink, u"Weitere Weine");
    EXPECT_EQ(textDocuments(), 0) << "after a new text";
    EXPECT_EQ(link->focusPolicy(), Qt::TabFocus);
    EXPECT_EQ(qobject_cast<QLabel*>(link)->text(), QStringLiteral("Weitere Weine"));
    EXPECT_EQ(nameOf(link), QStringLiteral("Weitere Weine"));
}

TEST_F(LabelledTest, TabGoesRoundTheDialogInTemplateOrder) {
    std::vector<HWND> order;
    widget(kTermEdit)->setFocus();
    for (int i = 0; i < 9; ++i) {
        order.push_back(GetFocus());
        driver.pressKey(Qt::Key_Tab);
    }
    const std::vector<HWND> stops = {GetDlgItem(dialog, kTermEdit),    GetDlgItem(dialog, kLabelledList),
                                     GetDlgItem(dialog, kLabelledBar), GetDlgItem(dialog, kGoodBox),
                                     GetDlgItem(dialog, kRowLink),     GetDlgItem(dialog, kLonelyLink),
                                     GetDlgItem(dialog, kReadingList)};
    EXPECT_EQ(std::vector<HWND>(order.begin(), order.begin() + 7), stops);
    EXPECT_EQ(order[7], stops[0]) << "round again";
    EXPECT_EQ(GetFocus(), stops[2]);
    driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(GetFocus(), stops[1]) << "Shift+Tab goes back";
}

// ---- Painted content ----

TEST(PaintedContentTest, PartsOfAPictureAreButtonsThatTapTheirMiddle) {
    setHandler({});
    Driver driver;
    const HWND dialog = driver.open(module(), kThermometer, TestProc);
    const HWND picture = GetDlgItem(dialog, kThermometerBitmap);
    platform::setAccessibleParts(picture, {{u"18°C", RECT{0, 0, 40, 14}}, {u"17°C", RECT{0, 14, 40, 28}}});
    QAccessibleInterface* node = of(driver.widget(picture));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->role(), QAccessible::Graphic);
    ASSERT_EQ(node->childCount(), 2);
    QAccessibleInterface* second = node->child(1);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("17°C"));
    EXPECT_EQ(second->role(), QAccessible::Button);
    EXPECT_EQ(node->indexOfChild(second), 1);
    const QRect r = driver.rect(dialog, kThermometerBitmap);
    MessageRecorder recorder(dialog);
    ASSERT_TRUE(press(second));
    driver.pump();
    EXPECT_TRUE(recorder.matches(
        {stylus(WM_MOUSEMOVE, r.left() + 20, r.top() + 21), command(kThermometerBitmap, STN_CLICKED)}));
    platform::setAccessibleParts(picture, {});
    EXPECT_EQ(node->childCount(), 0);
}

// Keys alone reach every part: Tab stops on the picture, the arrow keys go from part to part, and
// Space or Enter taps the middle of the part reached, which a screen reader sees as focused.
TEST(PaintedContentTest, KeysGoFromPartToPartOfAPictureAndPressThem) {
    setHandler({});
    Driver driver;
    const HWND dialog = driver.open(module(), kThermometer, TestProc);
    const HWND picture = GetDlgItem(dialog, kThermometerBitmap);
    QWidget* widget = driver.widget(picture);
    const QImage unfocused = driver.grab(picture);
    EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus) << "a picture without parts is no keyboard stop";
    platform::setAccessibleParts(
        picture,
        {{u"18°C", RECT{0, 0, 40, 14}}, {u"17°C", RECT{0, 14, 40, 28}}, {u"16°C", RECT{0, 28, 40, 42}}});
    EXPECT_EQ(widget->focusPolicy(), Qt::TabFocus);
    driver.pressKey(Qt::Key_Tab);
    ASSERT_EQ(GetFocus(), picture);

    const QRect r = driver.rect(dialog, kThermometerBitmap);
    MessageRecorder recorder(dialog);
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        driver.pressKey(key); // the third Down stays on the last part
    QAccessibleInterface* focused = of(widget)->focusChild();
    ASSERT_TRUE(focused);
    EXPECT_EQ(focused->text(QAccessible::Name), QStringLiteral("17°C"));
    EXPECT_TRUE(focused->state().focused);
    EXPECT_FALSE(of(widget)->child(0)->state().focused);
    driver.pressKey(Qt::Key_Return);
    recorder.mark();
    driver.pressKey(Qt::Key_End);
    driver.pressKey(Qt::Key_Space);
    EXPECT_TRUE(recorder.matches({stylus(WM_MOUSEMOVE, r.left() + 20, r.top() + 21),
                                  command(kThermometerBitmap, STN_CLICKED), marker(),
                                  stylus(WM_MOUSEMOVE, r.left() + 20, r.top() + 35),
                                  command(kThermometerBitmap, STN_CLICKED)}));

    // The focus frame lies around the part reached; the rest of the picture is as without focus.
    const QImage focusedImage = driver.grab(picture);
    ASSERT_EQ(focusedImage.size(), unfocused.size());
    const double scale = focusedImage.devicePixelRatio();
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < focusedImage.height(); ++y)
        for (int x = 0; x < focusedImage.width(); ++x) {
            if (focusedImage.pixel(x, y) == unfocused.pixel(x, y)) continue;
            (y >= 28 * scale && y < 42 * scale ? changedInside : changedOutside) += 1;
        }
    EXPECT_GT(changedInside, 0);
    EXPECT_EQ(changedOutside, 0);

    platform::setAccessibleParts(picture, {});
    EXPECT_EQ(widget->focusPolicy(), Qt::NoFocus);
}

TEST(PaintedContentTest, PaintedTextAndWorkUnderWayAreReadable) {
    setHandler({});
    Driver driver;
    const HWND dialog = driver.open(module(), kThermometer, TestProc);
    platform::setAccessibleText(dialog, u"Zimmertemperatur\n\r16°C-18°C");
    QAccessibleInterface* node = of(driver.widget(dialog));
    EXPECT_EQ(node->text(QAccessible::Description), QStringLiteral("Zimmertemperatur\n16°C-18°C"));
    QAccessibleInterface* picture = of(driver.widget(dialog, kThermometerBitmap));
    EXPECT_FALSE(picture->state().busy);
    platform::setAccessibleBusy(GetDlgItem(dialog, kThermometerBitmap), true);
    EXPECT_TRUE(picture->state().busy);
    platform::setAccessibleBusy(GetDlgItem(dialog, kThermometerBitmap), false);
    EXPECT_FALSE(picture->state().busy);
}

// ---- Screens and boxes ----

TEST(ScreenStackTest, OnlyTheDialogOnTopIsShownToReaders) {
    setHandler({});
    Driver driver;
    const HWND first = driver.open(module(), kSimple, TestProc);
    const HWND second = driver.open(module(), kSecond, TestProc, first);
    EXPECT_TRUE(of(driver.widget(first))->state().invisible);
    EXPECT_TRUE(of(driver.widget(first, IDOK))->state().invisible);
    EXPECT_FALSE(of(driver.widget(second, kNext))->state().invisible);
    EXPECT_TRUE(IsWindowVisible(first)) << "still visible to the program";
    driver.close(second);
    EXPECT_FALSE(of(driver.widget(first, IDOK))->state().invisible);
}

TEST(MessageBoxReaderTest, EveryKindOfBoxIsAnAnnouncedAlertWhoseButtonsPress) {
    struct Box {
        const char16_t* caption;
        UINT type;
        const char* button;
        int answer;
    };
    const Box boxes[] = {{u"FEHLER", MB_OK | MB_ICONINFORMATION, "OK", IDOK},
                         {u"HINWEIS", MB_OK | MB_ICONINFORMATION, "OK", IDOK},
                         {u"Meldung", MB_OK, "OK", IDOK},
                         {u"FRAGE", MB_YESNO | MB_ICONQUESTION, "Nein", IDNO},
                         {u"FRAGE", MB_YESNO | MB_ICONQUESTION, "Ja", IDYES}};
    Driver driver;
    platform::setMessageBoxResponder({});
    std::vector<QAccessible::Event> events;
    platform::ui::setAnnouncementListener([&](QAccessibleEvent* event) { events.push_back(event->type()); });
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.button);
        events.clear();
        QAccessible::Role role = QAccessible::NoRole;
        QString name, description;
        QTimer::singleShot(0, [&] {
            QWidget* frame = platform::deviceWindow()->findChild<QWidget*>(QStringLiteral("MessageBox"));
            ASSERT_TRUE(frame);
            QAccessibleInterface* node = of(frame);
            role = node->role();
            name = node->text(QAccessible::Name);
            description = node->text(QAccessible::Description);
            for (int i = 0; i < node->childCount(); ++i)
                if (node->child(i)->role() == QAccessible::Button &&
                    node->child(i)->text(QAccessible::Name) == QLatin1String(box.button))
                    press(node->child(i));
        });
        EXPECT_EQ(MessageBoxW(nullptr, u"Der Text\n\rder Meldung.", box.caption, box.type), box.answer);
        EXPECT_EQ(role, QAccessible::AlertMessage);
        EXPECT_EQ(name, QString::fromUtf16(box.caption));
        EXPECT_EQ(description, QStringLiteral("Der Text\nder Meldung."));
        EXPECT_NE(std::find(events.begin(), events.end(), QAccessible::Alert), events.end()) << "announced";
    }
    platform::ui::setAnnouncementListener({});
}

TEST_F(LabelledTest, AListToReadIsReachedByKeysAndScrollsWithoutChoosingARow) {
    const HWND list = GetDlgItem(dialog, kReadingList);
    for (int i = 0; i < 20; ++i) {
        std::u16string row = u"Zeile ";
        row += static_cast<char16_t>(u'A' + i);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    driver.tap(dialog, kReadingList);
    EXPECT_NE(GetFocus(), list) << "a tap leaves the focus where it was";
    widget(kLonelyLink)->setFocus();
    driver.pressKey(Qt::Key_Tab);
    ASSERT_EQ(GetFocus(), list);
    auto* view = qobject_cast<QAbstractItemView*>(widget(kReadingList));
    ASSERT_TRUE(view);
    const int top = view->verticalScrollBar()->value();
    for (int i = 0; i < 15; ++i)
        driver.pressKey(Qt::Key_Down);
    EXPECT_GT(view->verticalScrollBar()->value(), top);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
}
