// What the screen shows: static colours, owner drawing, drawing into windows from the interface
// thread and from a worker, and the whole device with one control of every class.
#include <QApplication>
#include <QDir>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QTreeWidget>
#include <functional>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

class PixelTest : public ::testing::Test {
  protected:
    void SetUp() override { seen().clear(); }
    void TearDown() override { setHandler({}); }
    Driver driver;
};

bool near(const QColor& a, const QColor& b, int tolerance = 8) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

int countColour(const QImage& image, const QColor& colour, int tolerance = 40) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (near(image.pixelColor(x, y), colour, tolerance)) ++n;
    return n;
}

void fillItems(HWND dialog) {
    for (const char16_t* text : {u"Riesling", u"Silvaner", u"Müller-Thurgau"})
        SendDlgItemMessageW(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    for (const char16_t* text : {u"Mosel", u"Ahr", u"Baden"})
        SendDlgItemMessageW(dialog, kSortedList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageW(dialog, kNoSelList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Nur lesen"));
    for (const char16_t* text : {u" ", u"Frankreich", u"Italien"})
        SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageW(dialog, kCombo, CB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, kSortedCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Spanien"));
    SetDlgItemTextW(dialog, kEdit, u"Spätburgunder");
    SetDlgItemTextW(dialog, kMultiEdit, u"Trocken, mit feiner\r\nFrucht und langem Abgang.");
    CheckDlgButton(dialog, kCheck, BST_CHECKED);
    SetScrollRange(GetDlgItem(dialog, kScroll), SB_CTL, 0, 4, TRUE);
    SetScrollPos(GetDlgItem(dialog, kScroll), SB_CTL, 1, TRUE);
    TVINSERTSTRUCTW insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPWSTR>(u"Rot");
    auto red = reinterpret_cast<HTREEITEM>(
        SendDlgItemMessageW(dialog, kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    insert.hParent = red;
    insert.item.pszText = const_cast<LPWSTR>(u"Barolo, Piemont");
    SendDlgItemMessageW(dialog, kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
    SendDlgItemMessageW(dialog, kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(red));
    for (const char16_t* label : {u"Info", u"Jahrgänge", u"Notiz / Lesezeichen"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<LPWSTR>(label);
        SendDlgItemMessageW(dialog, kTabs, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
    }
}

} // namespace

TEST_F(PixelTest, StaticBackgroundAndTextTakeTheColoursTheDialogAnswers) {
    HBRUSH brush = CreateSolidBrush(RGB(216, 224, 224));
    setHandler([&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (msg == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kLeftText) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(200, 0, 0));
            SetBkMode(dc, OPAQUE);
            SetBkColor(dc, RGB(216, 224, 224));
            return reinterpret_cast<INT_PTR>(brush);
        }
        return 0;
    });
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HWND label = GetDlgItem(dialog, kLeftText);
    const QImage image = driver.grab(label);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(near(image.pixelColor(image.width() - 2, image.height() - 2), QColor(216, 224, 224)));
    EXPECT_GT(countColour(image, QColor(200, 0, 0), 60), 5); // the text is red
    // A static the dialog leaves alone keeps the dialog's white.
    const QImage other = driver.grab(GetDlgItem(dialog, kRightText));
    EXPECT_TRUE(near(other.pixelColor(1, other.height() - 2), Qt::white));
    EXPECT_EQ(countColour(other, QColor(200, 0, 0), 60), 0);
    DeleteObject(brush);
}

TEST_F(PixelTest, CheckBoxBackgroundTakesTheStaticColour) {
    HBRUSH brush = CreateSolidBrush(RGB(255, 224, 192));
    setHandler([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kCheck)
            return reinterpret_cast<INT_PTR>(brush);
        return 0;
    });
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    const QImage image = driver.grab(GetDlgItem(dialog, kCheck));
    EXPECT_TRUE(near(image.pixelColor(image.width() - 1, 0), QColor(255, 224, 192)));
    DeleteObject(brush);
}

TEST_F(PixelTest, OwnerDrawnButtonShowsWhatTheDialogDraws) {
    setHandler([](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg != WM_DRAWITEM) return 0;
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HBRUSH brush = CreateSolidBrush(RGB(247, 251, 192));
        HGDIOBJ oldPen = SelectObject(item->hDC, pen);
        HGDIOBJ oldBrush = SelectObject(item->hDC, brush);
        Rectangle(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
        SelectObject(item->hDC, oldBrush);
        SelectObject(item->hDC, oldPen);
        DeleteObject(pen);
        DeleteObject(brush);
        return TRUE;
    });
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    const QImage image = driver.grab(GetDlgItem(dialog, kOwnerDraw));
    EXPECT_TRUE(near(image.pixelColor(image.width() / 2, image.height() / 2), QColor(247, 251, 192)));
    EXPECT_TRUE(near(image.pixelColor(0, image.height() / 2), Qt::black));
    // And on the device screen, at the button's place below the title bar.
    const QRect r = driver.rect(dialog, kOwnerDraw);
    EXPECT_TRUE(near(driver.devicePixel(r.center().x(), 26 + r.center().y()), QColor(247, 251, 192)));
}

TEST_F(PixelTest, DrawingIntoTheDialogShowsBelowItsControls) {
    setHandler({});
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    HDC dc = GetDC(dialog);
    ASSERT_TRUE(dc);
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
    RECT area{150, 100, 200, 150};
    FillRect(dc, &area, brush);
    ReleaseDC(dialog, dc);
    DeleteObject(brush);
    driver.pump();
    EXPECT_TRUE(near(driver.pixel(dialog, 175, 125), QColor(0, 0, 255)));
    EXPECT_TRUE(near(driver.devicePixel(175, 26 + 125), QColor(0, 0, 255)));
    EXPECT_TRUE(near(driver.pixel(dialog, 140, 125), Qt::white));
}

namespace {
struct WorkerJob {
    HWND target;
    std::atomic<bool> done{false};
};
DWORD drawFromWorker(void* parameter) {
    auto* job = static_cast<WorkerJob*>(parameter);
    HDC dc = GetDC(job->target);
    HBRUSH brush = CreateSolidBrush(RGB(0, 128, 0));
    RECT all{0, 0, 20, 20};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    ReleaseDC(job->target, dc);
    job->done = true;
    return 0;
}
} // namespace

TEST_F(PixelTest, AWorkerThreadDrawsIntoAControlWhileTheInterfaceThreadWaits) {
    setHandler({});
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    WorkerJob job;
    job.target = GetDlgItem(dialog, kThermometerBitmap);
    HANDLE thread = CreateThread(nullptr, 0, drawFromWorker, &job, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_TRUE(job.done);
    driver.pump();
    EXPECT_TRUE(near(driver.pixel(job.target, 10, 10), QColor(0, 128, 0)));
    EXPECT_TRUE(near(driver.pixel(job.target, 30, 10), QColor(200, 0, 0))); // the bitmap beside it
}

namespace {
// Counts the paint events a widget receives.
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};
} // namespace

TEST_F(PixelTest, WhatAWorkerDrewShowsWhileTheInterfaceThreadIsBusy) {
    setHandler({});
    HWND dialog = driver.open(module(), kThermometer, TestProc);
    driver.pump();
    WorkerJob job;
    job.target = GetDlgItem(dialog, kThermometerBitmap);
    PaintCounter counter;
    driver.widget(job.target)->installEventFilter(&counter);
    HANDLE thread = CreateThread(nullptr, 0, drawFromWorker, &job, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    // No event loop runs here, as during a long query: only the flush paints.
    EXPECT_EQ(counter.paints, 0);
    platform::showPendingDrawing();
    const int paintsAfterFlush = counter.paints;
    EXPECT_GT(paintsAfterFlush, 0);
    platform::showPendingDrawing();
    EXPECT_EQ(counter.paints, paintsAfterFlush) << "nothing new was drawn";
    driver.widget(job.target)->removeEventFilter(&counter);
}

TEST_F(PixelTest, EveryControlClassRendersInTheDeviceWindowAtScaleOneAndTwo) {
    setHandler([](HWND dialog, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&info);
        }
        return 0;
    });
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    fillItems(dialog);
    driver.pump();
    const QString folder = QStringLiteral(TALVINO_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    const QImage one = driver.grabDevice(1);
    const QImage two = driver.grabDevice(2);
    EXPECT_EQ(one.size(), QSize(240, 320));
    EXPECT_EQ(two.size(), QSize(480, 640));
    EXPECT_TRUE(driver.saveScreen(folder + QStringLiteral("/all_controls_scale1.png"), 1));
    EXPECT_TRUE(driver.saveScreen(folder + QStringLiteral("/all_controls_scale2.png"), 2));
    // The title bar is dark blue, the dialog white, the bitmap green where it is.
    EXPECT_TRUE(near(one.pixelColor(2, 2), QColor(0, 0, 132)));
    const QRect bitmap = driver.rect(dialog, kSmallBitmap);
    EXPECT_TRUE(near(one.pixelColor(bitmap.center().x(), 26 + bitmap.center().y()), QColor(0, 160, 0)));
    EXPECT_TRUE(
        near(two.pixelColor(2 * bitmap.center().x(), 2 * (26 + bitmap.center().y())), QColor(0, 160, 0)));
}

TEST_F(PixelTest, TallTemplateFittedIntoTheDialogAreaRenders) {
    setHandler([](HWND dialog, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) {
            SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&info);
        }
        return 0;
    });
    HWND dialog = driver.open(module(), kLargeFont, TestProc);
    const QString folder = QStringLiteral(TALVINO_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(driver.saveScreen(folder + QStringLiteral("/large_font_fitted.png"), 2));
    // The lowest link is drawn above the menu bar: dark text pixels inside its rectangle.
    const QRect link = driver.rect(dialog, kLowestLink).translated(0, 26);
    EXPECT_LE(link.bottom(), 293);
    const QImage device = driver.grabDevice(1);
    EXPECT_GT(countColour(device.copy(link), Qt::black, 90), 3);
}

TEST_F(PixelTest, MessageBoxIsDrawnInsideTheDevice) {
    platform::setMessageBoxResponder({});
    const QString folder = QStringLiteral(TALVINO_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    QImage shown;
    QTimer::singleShot(0, [&] {
        shown = platform::grabDevice(1);
        platform::saveDevicePng(folder + QStringLiteral("/message_box.png"), 2);
        QWidget* box = platform::deviceWindow()->findChild<QWidget*>(QStringLiteral("MessageBox"));
        ASSERT_TRUE(box);
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("OK")) QTest::mouseClick(b, Qt::LeftButton);
    });
    EXPECT_EQ(MessageBoxW(nullptr, u"Die Datenbank kann nicht geöffnet werden. \n\rBitte erneut versuchen.",
                          u"FEHLER", MB_OK | MB_ICONINFORMATION),
              IDOK);
    ASSERT_FALSE(shown.isNull());
    EXPECT_GT(countColour(shown, QColor(0, 0, 132), 10),
              240 * 26); // the box's caption adds to the title bar's blue
}

// Every line shows, and every line fits the box's width: a word wider than the box (a folder of
// the user's) breaks where it must instead of running off its edge.
TEST_F(PixelTest, AMessageBoxShowsEveryLineOfALongTextWhole) {
    platform::setMessageBoxResponder({});
    const std::u16string texts[] = {
        u"Die Datenbank kann nicht geöffnet werden. \n\rKontaktieren Sie den Hotline Support unter \n\r"
        u"www.talvino-weinfuehrer.example/hilfe oder \n\r0800 555 20 06.",
        u"Die alte Datei liegt im Ordner \n\r/home/maximiliane-mustermann-schulze/Dokumente/Eigene_Dateien/"
        u"Weinkeller-Sicherungen/talvino \n\rund endet auf \".damaged-2026-12-07\"."};
    for (const std::u16string& message : texts) {
        int shownHeight = 0, neededHeight = 0, shownWidth = 0, widestWord = 0;
        QTimer::singleShot(0, [&] {
            QWidget* box = platform::deviceWindow()->findChild<QWidget*>(QStringLiteral("MessageBox"));
            ASSERT_TRUE(box);
            auto* text = box->findChild<QLabel*>(QStringLiteral("MessageBoxText"));
            ASSERT_TRUE(text);
            shownHeight = text->height();
            neededHeight = text->heightForWidth(text->width());
            shownWidth = text->width();
            widestWord = text->minimumSizeHint().width();
            for (QPushButton* b : box->findChildren<QPushButton*>()) QTest::mouseClick(b, Qt::LeftButton);
        });
        MessageBoxW(nullptr, message.c_str(), u"FEHLER", MB_OK | MB_ICONINFORMATION);
        EXPECT_GT(neededHeight, 0);
        EXPECT_GE(shownHeight, neededHeight) << "the last lines would be cut off";
        EXPECT_LE(widestWord, shownWidth) << "a word would run off the box's edge";
    }
}

TEST_F(PixelTest, StaticWithTransparentBackgroundAndNullBrushShowsTheDialogBelow) {
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    setHandler([&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (msg != WM_CTLCOLORSTATIC) return 0;
        const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
        if (id == kLeftText) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
        }
        return reinterpret_cast<INT_PTR>(white);
    });
    HWND dialog = driver.open(module(), kAllControls, TestProc);
    HDC dc = GetDC(dialog);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT all{0, 0, 240, 40};
    FillRect(dc, &all, blue);
    ReleaseDC(dialog, dc);
    DeleteObject(blue);
    driver.pump();
    const QRect transparent = driver.rect(dialog, kLeftText);
    const QRect painted = driver.rect(dialog, kRightText);
    EXPECT_TRUE(
        near(driver.pixel(dialog, transparent.right() - 1, transparent.bottom() - 1), QColor(0, 0, 255)));
    EXPECT_TRUE(near(driver.pixel(dialog, painted.left() + 1, painted.bottom() - 1), Qt::white));
    DeleteObject(white);
}

TEST_F(PixelTest, InputPanelShowsAGermanKeyboardAboveTheMenuBar) {
    setHandler({});
    driver.open(module(), kAllControls, TestProc);
    HWND panel = FindWindowW(u"SipWndClass", nullptr);
    ShowWindow(panel, SW_SHOW);
    const QString folder = QStringLiteral(TALVINO_TEST_OUTPUT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(driver.saveScreen(folder + QStringLiteral("/input_panel.png"), 2));
    RECT r{};
    GetWindowRect(panel, &r);
    EXPECT_EQ(r.bottom, 294); // ends where the menu bar begins
    EXPECT_EQ(r.right - r.left, 240);
    QStringList names;
    for (QWidget* key : driver.widget(panel)->findChildren<QWidget*>())
        names << key->accessibleName();
    for (const char* key : {"ä", "ö", "ü", "ß", "z", "y", "Umschalt", "Rücktaste", "Leertaste", "Eingabe"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(key))) << key;
    ShowWindow(panel, SW_HIDE);
}

namespace {

const char16_t* const kMarked = u"ÄÖÜ ÉÈ Š";
const char16_t* const kPlain = u"AOU EE S";

// The topmost row of dark ink in `area` of `image` (in the image's own pixels); -1 when none. A row
// dark nearly all across is a frame's line, not a letter's.
int topInk(const QImage& image, QRect area) {
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int dark = 0;
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 110) ++dark;
        if (dark > 0 && dark < area.width() * 9 / 10) return y;
    }
    return -1;
}

// How far the marks of kMarked reach above the capitals of kPlain when nothing cuts them: the
// same font drawn freely at `scale`.
int freeMarkHeight(const QFont& font, int scale) {
    auto top = [&](const char16_t* text) {
        QImage image(400 * scale, 80 * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(10, 50), QString::fromStdU16String(text));
        painter.end();
        return topInk(image, image.rect());
    };
    return top(kPlain) - top(kMarked);
}

// A widget drawn at `scale`, as the device window draws it.
QImage renderAt(QWidget* widget, int scale) {
    QImage image(widget->size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

QRect scaled(const QRect& r, int scale) {
    return QRect(r.topLeft() * scale, r.size() * scale);
}

// One kind of row: fills the dialog's control with `text` and says which widget shows it and where
// (in the widget's own coordinates).
struct RowKind {
    const char* name;
    std::function<QWidget*(HWND dialog, const char16_t* text, QRect* area)> fill;
};

} // namespace

// "Österreich" must not read "Osterreich": each kind of row and text box is tall enough for the
// marks above capitals, which reach as high there as where the same font is drawn freely.
TEST_F(PixelTest, MarksAboveCapitalsAreDrawnWholeInEveryKindOfRowAtScalesOneToThree) {
    setHandler({});
    auto widgetOf = [this](HWND dialog, int id) { return driver.widget(dialog, id); };
    const RowKind kinds[] = {
        {"list box row",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             SendDlgItemMessageW(dialog, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
             auto* list = qobject_cast<QListWidget*>(widgetOf(dialog, kList));
             *area = list->visualItemRect(list->item(0)).translated(list->viewport()->pos());
             return list;
         }},
        {"combo box",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
             SendDlgItemMessageW(dialog, kCombo, CB_SETCURSEL, 0, 0);
             QWidget* combo = widgetOf(dialog, kCombo);
             *area = QRect(0, 0, combo->width() / 2, combo->height()); // left of the arrow
             return combo;
         }},
        {"dropped list row",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             SendDlgItemMessageW(dialog, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
             auto* combo = qobject_cast<QComboBox*>(widgetOf(dialog, kCombo));
             combo->showPopup();
             QAbstractItemView* view = combo->view();
             view->setCurrentIndex(QModelIndex()); // no focus frame around the row
             *area = view->visualRect(combo->model()->index(0, 0));
             return view->viewport();
         }},
        {"tree row",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             TVINSERTSTRUCTW insert{};
             insert.hParent = TVI_ROOT;
             insert.hInsertAfter = TVI_LAST;
             insert.item.mask = TVIF_TEXT;
             insert.item.pszText = const_cast<LPWSTR>(text);
             SendDlgItemMessageW(dialog, kTree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
             auto* tree = qobject_cast<QTreeWidget*>(widgetOf(dialog, kTree));
             *area = tree->visualItemRect(tree->topLevelItem(0)).translated(tree->viewport()->pos());
             return tree;
         }},
        {"static line",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             SetDlgItemTextW(dialog, kLeftText, text);
             QWidget* label = widgetOf(dialog, kLeftText);
             *area = label->rect();
             return label;
         }},
        {"multi-line edit",
         [&](HWND dialog, const char16_t* text, QRect* area) -> QWidget* {
             SetDlgItemTextW(dialog, kMultiEdit, text);
             QWidget* edit = widgetOf(dialog, kMultiEdit);
             *area = edit->rect().adjusted(2, 2, -20, -2); // inside the frame, left of the scroll bar
             return edit;
         }},
    };
    for (const RowKind& kind : kinds) {
        for (int scale : {1, 2, 3}) {
            int top[2] = {-1, -1};
            QFont font;
            for (int i = 0; i < 2; ++i) {
                HWND dialog = driver.open(module(), kAllControls, TestProc);
                QRect area;
                QWidget* shown = kind.fill(dialog, i == 0 ? kPlain : kMarked, &area);
                ASSERT_TRUE(shown) << kind.name;
                driver.pump();
                font = shown->font();
                top[i] = topInk(renderAt(shown, scale), scaled(area, scale));
                if (auto* combo = qobject_cast<QComboBox*>(driver.widget(dialog, kCombo))) combo->hidePopup();
                driver.close(dialog);
            }
            ASSERT_GE(top[0], 0) << kind.name << " shows no text at scale " << scale;
            const int whole = freeMarkHeight(font, scale);
            ASSERT_GE(whole, scale) << "the marks reach above the capitals";
            EXPECT_GE(top[0] - top[1], whole - 1)
                << kind.name << " at scale " << scale << ": marks drawn " << top[0] - top[1] << " of " << whole
                << " pixels high";
        }
    }
}
