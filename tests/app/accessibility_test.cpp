// The program as a screen reader and a keyboard user meet it: every screen walked through Qt's
// accessibility interfaces (what AT-SPI hands to Orca), accessible actions compared with taps,
// and whole journeys made with keys alone.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/global_objects.h"
#include "app/main_menu.h"
#include "chapters/temperature_layout.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/shell/shell.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "platform/ui/window.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "screen/application.h"
#include "screen/globals.h"
#include "search/search_form.h"
#include "tests/support/test_catalogue.h"

using platform::testing::Driver;

namespace {

constexpr int kSearchRow = 1006, kGrapesRow = 1048, kTemperatureRow = 1049, kBookmarksRow = 1050;
constexpr int kSearchPicture = 1005, kCreditsLink = 1023, kHelpLink = 1025;
constexpr int kSearchTerm = 1012, kStartButton = 1011, kQualityName = 1027;
constexpr int kTree = 1001, kTabs = 1002, kInfoArea = 1034, kVintageArea = 1035, kHeaderLine = 1045;
constexpr int kDescriptionEdit = 1064, kNoteEdit = 1065, kBookmarkBox = 1067, kSaveButton = 1066;
constexpr int kThermometer = 1054, kQualityBar = 1021, kCountryList = 1013, kRegionList = 1014, kWineKind = 1005;
const std::u16string kChablis = u"Chablis Premier Cru, Domaine des Vaux Clairs";

std::vector<QAccessibleInterface*> subtree(QAccessibleInterface* root) {
    std::vector<QAccessibleInterface*> nodes;
    if (!root) return nodes;
    nodes.push_back(root);
    for (int i = 0; i < root->childCount(); ++i)
        for (QAccessibleInterface* node : subtree(root->child(i)))
            nodes.push_back(node);
    return nodes;
}

std::vector<QAccessibleInterface*> deviceNodes() {
    return subtree(QAccessible::queryAccessibleInterface(platform::deviceWindow()));
}

bool showing(QAccessibleInterface* node) {
    return !node->state().invisible;
}

// What a user acts on. Scroll bars inside a list or text area belong to it and are not counted.
bool actedOn(QAccessibleInterface* node) {
    switch (node->role()) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::Link:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::PageTab:
        return true;
    case QAccessible::ScrollBar:
        return node->parent() && node->parent()->role() == QAccessible::Dialog;
    default:
        return false;
    }
}

QAccessibleInterface* find(QAccessible::Role role, const QString& name) {
    for (QAccessibleInterface* node : deviceNodes())
        if (showing(node) && node->role() == role && node->text(QAccessible::Name) == name) return node;
    return nullptr;
}

QAccessibleInterface* of(Driver& driver, HWND dialog, int id) {
    return QAccessible::queryAccessibleInterface(driver.widget(dialog, id));
}

bool act(QAccessibleInterface* node, const QString& action) {
    if (!node || !node->actionInterface() || !node->actionInterface()->actionNames().contains(action))
        return false;
    node->actionInterface()->doAction(action);
    return true;
}

// The platform's line breaks, as a reader gets them.
QString oneBreak(std::u16string text) {
    QString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = i + 1 < text.size() && ((text[i] == u'\r' && text[i + 1] == u'\n') ||
                                                  (text[i] == u'\n' && text[i + 1] == u'\r'));
        out += (text[i] == u'\r' || text[i] == u'\n') ? QChar(u'\n') : QChar(text[i]);
        if (pair) ++i;
    }
    return out;
}

QString temperatureText(int level) {
    char16_t buffer[2000] = {};
    LoadStringW(talvinoModule(), static_cast<UINT>(temperature::stringIdForLevel(level)), buffer, 2000);
    return oneBreak(buffer);
}

// Where a widget lies on the device screen.
QRect onDevice(QWidget* widget) {
    return QRect(widget->mapTo(platform::deviceWindow(), QPoint(0, 0)), widget->size());
}

QWidget* shownMessageBox() {
    for (QWidget* box : platform::deviceWindow()->findChildren<QWidget*>(QStringLiteral("MessageBox")))
        if (box->isVisible()) return box; // not one answered before and not yet deleted
    return nullptr;
}

bool inside(QWidget* widget, QWidget* container) {
    for (; widget; widget = widget->parentWidget())
        if (widget == container) return true;
    return false;
}

struct Expected {
    QAccessible::Role role;
    QString name;
};

class AccessibilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent().addBookmark(TestCatalogue::kRioja, u"Für Sonntag", u"mit Lamm");
        catalogue.installAsProgramCatalogue();
        createGlobalObjects();
        driver.stepTimeoutMs = 15000;
        platform::deviceWindow()->activateWindow(); // as the desktop does for a new window
        driver.pump();
    }
    void TearDown() override { createGlobalObjects(); }
    int runProgram() { return WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW); }

    // What a reader finds on the screen on top: every node to act on named, the expected nodes
    // there with their roles, and nothing of the screens below it showing.
    void walk(const char* screen, const std::vector<Expected>& expected) {
        SCOPED_TRACE(screen);
        ++walks;
        for (QAccessibleInterface* node : deviceNodes()) {
            if (showing(node) && node->role() == QAccessible::ListItem) {
                EXPECT_FALSE(node->text(QAccessible::Name).trimmed().isEmpty()) << "a silent row";
            }
            if (!showing(node) || !actedOn(node)) continue;
            EXPECT_FALSE(node->text(QAccessible::Name).trimmed().isEmpty())
                << "unnamed node of role " << node->role() << " at " << node->rect().x() << ","
                << node->rect().y();
        }
        for (const Expected& want : expected)
            EXPECT_NE(find(want.role, want.name), nullptr)
                << "no node " << want.role << " \"" << want.name.toStdString() << "\"";
        for (HWND dialog : platform::openDialogs()) {
            if (dialog == platform::activeDialog()) continue;
            for (QAccessibleInterface* node :
                 subtree(QAccessible::queryAccessibleInterface(driver.widget(dialog))))
                EXPECT_FALSE(showing(node))
                    << "covered screen " << platform::dialogTemplateId(dialog) << " shows \""
                    << node->text(QAccessible::Name).toStdString() << "\"";
        }
    }
    // Presses Tab until the control has the focus (false if it never gets it).
    bool tabTo(HWND dialog, int id) {
        for (int i = 0; i < 30; ++i) {
            if (GetFocus() == GetDlgItem(dialog, id)) return true;
            driver.pressKey(Qt::Key_Tab);
        }
        return GetFocus() == GetDlgItem(dialog, id);
    }

    TestCatalogue catalogue;
    Driver driver;
    int walks = 0;
};

// ---- Every screen as a reader walks it ----

TEST_F(AccessibilityTest, EveryScreenIsNamedAndOnlyTheTopOneShows) {
    const QAccessible::Role button = QAccessible::Button;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        walk("main menu", {{button, "Weine von A - Z"},
                           {button, "Rebsorten"},
                           {button, "Die richtige Temperatur"},
                           {button, "Lesezeichen"},
                           {QAccessible::Link, "Impressum"},
                           {QAccessible::Link, "Hilfe"}});
        // The row's picture answers a press as a tap.
        EXPECT_EQ(of(driver, menu, kSearchPicture)->text(QAccessible::Name), "Weine von A - Z");
        EXPECT_TRUE(act(of(driver, menu, kSearchPicture), QAccessibleActionInterface::pressAction()));
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        walk("search form", {{QAccessible::EditableText, "Suchbegriff:"},
                             {QAccessible::ComboBox, "Land:"},
                             {QAccessible::ComboBox, "Region:"},
                             {QAccessible::ScrollBar, "Qualität:"},
                             {QAccessible::CheckBox, "bes.gut"},
                             {QAccessible::Grouping, "Farbe"},
                             {QAccessible::Grouping, "Geschmack"},
                             {QAccessible::Grouping, "Qualität:"}});
        for (const char* panel : {"Rot", "Trocken", "Qualität:"})
            EXPECT_EQ(find(button, panel), nullptr) << "phantom button " << panel;
        driver.type(form, kSearchTerm, u"Chablis");
        driver.tap(form, kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        driver.selectTreeItem(results, kTree, {u"Weiß", kChablis});
        walk("results with an entry", {{QAccessible::Tree, "Suchergebnis"},
                                       {QAccessible::EditableText, "Info"},
                                       {QAccessible::PageTab, "Info"},
                                       {QAccessible::PageTab, "Jahrgänge"},
                                       {QAccessible::PageTab, "Notiz / Lesezeichen"}});
        driver.selectTab(results, kTabs, 2);
        walk("bookmark page", {{QAccessible::EditableText, "Beschreibung"},
                               {QAccessible::EditableText, "Notiz"},
                               {QAccessible::CheckBox, "Lesezeichen setzen"}});
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kBookmarksRow); });
    driver.onDialog(kResultsDialog, [&](HWND) {
        walk("bookmark mode", {{QAccessible::Tree, "Lesezeichen"}});
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kGrapesRow); });
    driver.onDialog(kGrapesDialog, [&](HWND) {
        walk("grapes", {{QAccessible::ComboBox, "ROTWEIN:"},
                        {QAccessible::ComboBox, "WEISSWEIN"},
                        {QAccessible::List, "Rebsorten"},
                        {QAccessible::EditableText, "Beschreibung"}});
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kTemperatureRow); });
    driver.onDialog(kTemperatureDialog, [&](HWND) {
        std::vector<Expected> bands = {{QAccessible::ComboBox, "Nach Weinsorte:"},
                                       {QAccessible::Graphic, "Thermometer"}};
        for (int level = 18; level >= 4; --level)
            bands.push_back({button, QString::number(level) + QStringLiteral("°C")});
        walk("temperature", bands);
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        EXPECT_TRUE(act(of(driver, menu, kHelpLink), QAccessibleActionInterface::pressAction()));
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND index) {
        walk("help index", {{button, "Hilfe für Weine von A - Z"}, {button, "Hilfe zu Rebsorten"}});
        driver.tap(index, 1048);
    });
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        walk("help page", {});
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        EXPECT_TRUE(act(of(driver, menu, kCreditsLink), QAccessibleActionInterface::pressAction()));
    });
    driver.onDialog(kCreditsDialog, [&](HWND) {
        walk("credits", {{QAccessible::List, "IMPRESSUM"}});
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    EXPECT_EQ(walks, 10);
}

// ---- Accessible actions against taps ----

TEST_F(AccessibilityTest, QualityStepsByAReaderReachTheFormAsTapsDo) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        QAccessibleInterface* bar = find(QAccessible::ScrollBar, "Qualität:");
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(act(bar, QAccessibleActionInterface::increaseAction()));
        const std::u16string byReader = driver.text(form, kQualityName);
        EXPECT_EQ(g_searchForm->qualityLevel, 1);
        EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 1);
        driver.scroll(form, 1021, platform::testing::ScrollAction::LineLeft);
        EXPECT_EQ(g_searchForm->qualityLevel, 0);
        driver.scroll(form, 1021, platform::testing::ScrollAction::LineRight);
        EXPECT_EQ(driver.text(form, kQualityName), byReader);
        EXPECT_NE(byReader, u"egal");
        // A value set by the reader is a drag of the thumb.
        bar->valueInterface()->setCurrentValue(3);
        EXPECT_EQ(g_searchForm->qualityLevel, 3);
        EXPECT_EQ(driver.scrollPosition(form, 1021), 3);
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, TheSearchStatementCarriesTheLevelAReaderSet) {
    auto statementFor = [&](bool byReader) {
        std::u16string statement;
        driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
        driver.onDialog(kSearchFormDialog, [&](HWND form) {
            if (byReader) {
                QAccessibleInterface* bar = find(QAccessible::ScrollBar, "Qualität:");
                ASSERT_NE(bar, nullptr);
                bar->valueInterface()->setCurrentValue(3);
            } else {
                for (int i = 0; i < 3; ++i)
                    driver.scroll(form, 1021, platform::testing::ScrollAction::LineRight);
            }
            driver.tap(form, kStartButton);
        });
        driver.onDialog(kResultsDialog, [&](HWND) {
            statement = g_database->queryBuffer;
            driver.tapDone();
        });
        driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        EXPECT_EQ(driver.pendingSteps(), 0u);
        createGlobalObjects();
        return statement;
    };
    const std::u16string byReader = statementFor(true);
    EXPECT_NE(byReader.find(u"Qualitaet1"), std::u16string::npos);
    EXPECT_EQ(byReader, statementFor(false));
}

TEST_F(AccessibilityTest, TabsAndEntriesChosenByAReaderShowWhatTapsShow) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.tap(form, 1017); // the white wines
        driver.tap(form, kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        driver.expandTreeItem(results, kTree, {u"Weiß"});
        QAccessibleInterface* tree = of(driver, results, kTree);
        ASSERT_NE(tree, nullptr);
        ASSERT_NE(tree->tableInterface(), nullptr);
        // The row below "Weiß" (the only open branch) is its first wine: selected by the reader.
        const auto items = driver.treeItems(results, kTree);
        int row = 0;
        while (row < static_cast<int>(items.size()) && items[static_cast<std::size_t>(row)].label != u"Weiß")
            ++row;
        ASSERT_LT(row, static_cast<int>(items.size()));
        ASSERT_FALSE(items[static_cast<std::size_t>(row)].children.empty());
        const std::u16string firstWhite = items[static_cast<std::size_t>(row)].children[0].label;
        EXPECT_TRUE(tree->tableInterface()->selectRow(row + 1));
        driver.pump();
        EXPECT_EQ(driver.selectedTreeLabel(results, kTree), firstWhite);
        const std::u16string byReader = driver.text(results, kHeaderLine);
        EXPECT_FALSE(byReader.empty());
        driver.selectTreeItem(results, kTree, {u"Weiß"});
        driver.selectTreeItem(results, kTree, {u"Weiß", firstWhite});
        EXPECT_EQ(driver.text(results, kHeaderLine), byReader);

        ASSERT_TRUE(act(find(QAccessible::PageTab, "Jahrgänge"), QAccessibleActionInterface::pressAction()));
        driver.pump();
        EXPECT_EQ(driver.currentTab(results, kTabs), 1);
        EXPECT_TRUE(driver.visible(results, kVintageArea));
        EXPECT_FALSE(driver.visible(results, kInfoArea));
        ASSERT_TRUE(act(find(QAccessible::PageTab, "Notiz / Lesezeichen"),
                        QAccessibleActionInterface::pressAction()));
        driver.pump();
        EXPECT_TRUE(driver.visible(results, kDescriptionEdit));
        EXPECT_FALSE(driver.visible(results, kVintageArea));
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, TemperatureTextIsReadableAfterEveryChoice) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kTemperatureRow); });
    driver.onDialog(kTemperatureDialog, [&](HWND screen) {
        QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(driver.widget(screen));
        auto reads = [&](const QString& text) {
            return driver.waitFor([&] { return dialog->text(QAccessible::Description) == text; }, 8000);
        };
        EXPECT_TRUE(reads(temperatureText(0))) << "the introduction first";
        // Each new text is spoken at once, as a notification, wherever the focus is.
        std::vector<QString> spoken;
        platform::ui::setAnnouncementListener([&](QAccessibleEvent* event) {
            QAccessibleInterface* node = event->accessibleInterface();
            if (event->type() == QAccessible::ObjectShow && node && node->role() == QAccessible::Notification)
                spoken.push_back(node->text(QAccessible::Name));
        });
        auto spokenLast = [&](const QString& text) { return !spoken.empty() && spoken.back() == text; };
        // A band pressed by the reader, then the same band tapped after another one.
        ASSERT_TRUE(act(find(QAccessible::Button, QStringLiteral("18°C")),
                        QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE(reads(temperatureText(18))) << dialog->text(QAccessible::Description).toStdString();
        EXPECT_TRUE(spokenLast(temperatureText(18)));
        ASSERT_TRUE(
            act(find(QAccessible::Button, QStringLiteral("8°C")), QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE(reads(temperatureText(8))) << dialog->text(QAccessible::Description).toStdString();
        EXPECT_TRUE(spokenLast(temperatureText(8)));
        const QRect thermometer = driver.rect(screen, kThermometer);
        driver.tapAt(screen, thermometer.center().x(), 6 + 7); // the top band: 18
        EXPECT_TRUE(reads(temperatureText(18)));
        // A wine kind chosen with the keyboard.
        ASSERT_TRUE(tabTo(screen, 1005));
        driver.pressKey(Qt::Key_Down);
        driver.pressKey(Qt::Key_Down);
        const LRESULT kind = SendDlgItemMessageW(screen, 1005, CB_GETCURSEL, 0, 0);
        ASSERT_GT(kind, 0);
        EXPECT_TRUE(reads(temperatureText(temperature::kWineKindLevels[kind])));
        EXPECT_TRUE(spokenLast(temperatureText(temperature::kWineKindLevels[kind])));
        platform::ui::setAnnouncementListener({});
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

// A picture reads its painted words, a band the text its tap unrolls, a scroll bar its edit's name.
TEST_F(AccessibilityTest, PicturesBandsAndScrollBarsReadWhatTheyShow) {
    struct Reading {
        int row; // of the main menu
        int screen;
        QAccessible::Role role;
        QString name;
        int level; // of a thermometer band, whose description is its text; 0 for none
    };
    const Reading readings[] = {
        {kCreditsLink, kCreditsDialog, QAccessible::Graphic, "KELTERHAUS MEDIEN, nordlicht MOBILSOFT", 0},
        {kGrapesRow, kGrapesDialog, QAccessible::ScrollBar, "Beschreibung Bildlauf", 0},
        {kBookmarksRow, kResultsDialog, QAccessible::ScrollBar, "Info Bildlauf", 0},
        {kTemperatureRow, kTemperatureDialog, QAccessible::Button, "18°C", 18},
        {kTemperatureRow, kTemperatureDialog, QAccessible::Button, "16°C", 16},
        {kTemperatureRow, kTemperatureDialog, QAccessible::Button, "4°C", 4},
    };
    for (const Reading& reading : readings) {
        driver.onDialog(kMainMenuDialog, [&, reading](HWND menu) {
            EXPECT_TRUE(act(of(driver, menu, reading.row), QAccessibleActionInterface::pressAction()));
        });
        driver.onDialog(reading.screen, [&, reading](HWND screen) {
            SCOPED_TRACE(reading.name.toStdString());
            QAccessibleInterface* node = find(reading.role, reading.name);
            EXPECT_NE(node, nullptr);
            if (!node || reading.level == 0) {
                driver.tapDone();
                return;
            }
            const QString wines = node->text(QAccessible::Description);
            EXPECT_EQ(wines, temperatureText(reading.level));
            // and it is what the scroll shows once the band is pressed
            ASSERT_TRUE(act(node, QAccessibleActionInterface::pressAction()));
            QAccessibleInterface* dialog = QAccessible::queryAccessibleInterface(driver.widget(screen));
            EXPECT_TRUE(
                driver.waitFor([&] { return dialog->text(QAccessible::Description) == wines; }, 8000));
            driver.tapDone();
        });
    }
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

// ---- Keyboard alone ----

TEST_F(AccessibilityTest, SearchVintagesAndABookmarkWithTheKeyboardAlone) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        ASSERT_TRUE(tabTo(menu, kSearchRow));
        driver.pressKey(Qt::Key_Return);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        ASSERT_TRUE(tabTo(form, kSearchTerm));
        driver.typeKeys(u"Ürziger");
        EXPECT_EQ(driver.text(form, kSearchTerm), u"Ürziger");
        driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier); // back over the full-text box
        driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(GetFocus(), GetDlgItem(form, kStartButton)) << "Shift+Tab goes back in template order";
        driver.pressKey(Qt::Key_Return);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        ASSERT_TRUE(tabTo(results, kTree));
        driver.pressKey(Qt::Key_Down);
        driver.pressKey(Qt::Key_Right);
        driver.pressKey(Qt::Key_Down);
        EXPECT_EQ(driver.selectedTreeLabel(results, kTree),
                  u"Ürziger Würzgarten Riesling Spätlese, Weingut Kellerbach");
        EXPECT_EQ(driver.text(results, kHeaderLine), u"Deutschland: Mosel");
        ASSERT_TRUE(tabTo(results, kTabs));
        driver.pressKey(Qt::Key_Right);
        EXPECT_EQ(driver.currentTab(results, kTabs), 1);
        EXPECT_TRUE(driver.visible(results, kVintageArea));
        EXPECT_FALSE(driver.text(results, kVintageArea).empty());
        driver.pressKey(Qt::Key_Right);
        EXPECT_EQ(driver.currentTab(results, kTabs), 2);
        ASSERT_TRUE(tabTo(results, kBookmarkBox));
        if (!driver.checked(results, kBookmarkBox)) driver.pressKey(Qt::Key_Space);
        EXPECT_TRUE(driver.checked(results, kBookmarkBox));
        driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier);
        driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(GetFocus(), GetDlgItem(results, kDescriptionEdit));
        SetDlgItemTextW(results, kDescriptionEdit, u"");
        driver.typeKeys(u"Für Gäste");
        driver.pressKey(Qt::Key_Tab);
        EXPECT_EQ(GetFocus(), GetDlgItem(results, kNoteEdit));
        driver.typeKeys(u"süß, kühl");
        ASSERT_TRUE(tabTo(results, kSaveButton));
        driver.pressKey(Qt::Key_Return);
        driver.pressKey(Qt::Key_Escape);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.pressKey(Qt::Key_Escape); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.pressKey(Qt::Key_Escape); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
    EXPECT_EQ(
        catalogue.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen WHERE id_talvino = 5001"),
        (std::vector<std::vector<std::string>>{{"5001", "Für Gäste", "süß, kühl"}}));
}

TEST_F(AccessibilityTest, EscapeLeavesEveryScreen) {
    struct Way {
        int control;
        int key;
        int screen;
    };
    const Way ways[] = {{kSearchRow, Qt::Key_Return, kSearchFormDialog},
                        {kGrapesRow, Qt::Key_Space, kGrapesDialog},
                        {kTemperatureRow, Qt::Key_Return, kTemperatureDialog},
                        {kBookmarksRow, Qt::Key_Return, kResultsDialog},
                        {kCreditsLink, Qt::Key_Space, kCreditsDialog},
                        {kHelpLink, Qt::Key_Return, kHelpIndexDialog}};
    std::vector<int> left;
    for (const Way& way : ways) {
        driver.onDialog(kMainMenuDialog, [&, way](HWND menu) {
            ASSERT_TRUE(tabTo(menu, way.control)) << way.control;
            driver.pressKey(way.key);
        });
        driver.onDialog(way.screen, [&, way](HWND screen) {
            if (way.screen == kHelpIndexDialog) {
                // Into a help page and out of it first.
                ASSERT_TRUE(tabTo(screen, 1036));
                driver.pressKey(Qt::Key_Space); // the page's own step leaves it with Escape
                EXPECT_EQ(platform::activeDialog(), screen) << "Escape on a help page goes back to the index";
            }
            left.push_back(way.screen);
            driver.pressKey(Qt::Key_Escape);
        });
    }
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        left.push_back(kHelpPageDialog);
        driver.pressKey(Qt::Key_Escape);
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.pressKey(Qt::Key_Escape); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(left, (std::vector<int>{kSearchFormDialog, kGrapesDialog, kTemperatureDialog, kResultsDialog,
                                      kCreditsDialog, kHelpPageDialog, kHelpIndexDialog}));
}


// ---- Focus and keys ----

TEST_F(AccessibilityTest, FocusStaysInEveryMessageBoxUnderEveryArrowKey) {
    struct Case {
        const char16_t* caption;
        UINT type;
        int key;
        int presses;
        int answer; // Return after the presses
    };
    const Case cases[] = {
        {u"HINWEIS", MB_OK | MB_ICONINFORMATION, Qt::Key_Right, 1, IDOK},
        {u"HINWEIS", MB_OK | MB_ICONINFORMATION, Qt::Key_Left, 1, IDOK},
        {u"HINWEIS", MB_OK | MB_ICONINFORMATION, Qt::Key_Up, 1, IDOK},
        {u"HINWEIS", MB_OK | MB_ICONINFORMATION, Qt::Key_Down, 1, IDOK},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Right, 1, IDNO},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Right, 2, IDYES},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Left, 1, IDNO},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Up, 1, IDNO},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Down, 2, IDYES},
        {u"FRAGE", MB_YESNO | MB_ICONQUESTION, Qt::Key_Tab, 1, IDNO},
    };
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        platform::setMessageBoxResponder({}); // real boxes over the real form
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "key " << c.key << " x" << c.presses << " in "
                                            << QString::fromUtf16(c.caption).toStdString());
            int strayed = 0;
            QTimer::singleShot(0, [&] {
                QWidget* box = shownMessageBox();
                ASSERT_NE(box, nullptr);
                for (int i = 0; i < c.presses; ++i) {
                    driver.pressKey(c.key);
                    if (!inside(QApplication::focusWidget(), box)) ++strayed;
                }
                driver.pressKey(Qt::Key_Return);
            });
            // Should Return do nothing, the box is answered as a user with a pointer would.
            QObject guard;
            QTimer::singleShot(3000, &guard, [] {
                ADD_FAILURE() << "the keys left the box open";
                if (QWidget* box = shownMessageBox())
                    for (QPushButton* button : box->findChildren<QPushButton*>())
                        button->click();
            });
            EXPECT_EQ(MessageBoxW(form, u"Der Text der Meldung.", c.caption, c.type), c.answer);
            EXPECT_EQ(strayed, 0) << "the focus left the box";
        }
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

// Escape closes only the list (the next Escape is the done button); Tab and Shift+Tab close it
// and go on to the next or the previous tab stop.
TEST_F(AccessibilityTest, KeysInADroppedListCloseItAndLeaveTheFocusWhereTheyShould) {
    struct Case {
        int row; // of the main menu
        int screen;
        int combo;
        int key;
        int focusAfter;
    };
    const Case cases[] = {
        {kSearchRow, kSearchFormDialog, kCountryList, Qt::Key_Escape, kCountryList},
        {kSearchRow, kSearchFormDialog, kCountryList, Qt::Key_Tab, kRegionList},
        {kSearchRow, kSearchFormDialog, kCountryList, Qt::Key_Backtab, kSearchTerm},
        {kGrapesRow, kGrapesDialog, 1014, Qt::Key_Escape, 1014},
        {kGrapesRow, kGrapesDialog, 1014, Qt::Key_Tab, 1047},
        {kGrapesRow, kGrapesDialog, 1014, Qt::Key_Backtab, 1013},
        {kTemperatureRow, kTemperatureDialog, kWineKind, Qt::Key_Escape, kWineKind},
        {kTemperatureRow, kTemperatureDialog, kWineKind, Qt::Key_Tab, kThermometer},
    };
    std::vector<int> left;
    for (const Case& c : cases) {
        driver.onDialog(kMainMenuDialog, [&, c](HWND menu) { driver.tap(menu, c.row); });
        driver.onDialog(c.screen, [&, c](HWND screen) {
            SCOPED_TRACE(testing::Message() << "screen " << c.screen << " key " << c.key);
            ASSERT_TRUE(tabTo(screen, c.combo));
            driver.pressKey(Qt::Key_F4);
            ASSERT_TRUE(driver.waitFor([] { return QApplication::activePopupWidget() != nullptr; }, 2000))
                << "F4 drops the list";
            const std::u16string before = driver.text(screen, c.combo);
            driver.pressKey(Qt::Key_Down); // highlights the next row
            driver.pressKey(c.key, c.key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            EXPECT_TRUE(driver.waitFor([] { return QApplication::activePopupWidget() == nullptr; }, 2000));
            driver.pump(50);
            EXPECT_EQ(platform::activeDialog(), screen) << "the screen stays";
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), c.focusAfter);
            EXPECT_EQ(driver.text(screen, c.combo) != before, c.key != Qt::Key_Escape) << "Tab keeps the highlighted row";
            left.push_back(c.screen);
            driver.pressKey(Qt::Key_Escape); // now the done button
        });
    }
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    EXPECT_EQ(left.size(), std::size(cases));
}

TEST_F(AccessibilityTest, TheQualityBarGoesRightAndDownToTheBestAndReadsAsTheLevelName) {
    struct Case {
        int key;
        int level; // from level 2
    };
    const Case cases[] = {{Qt::Key_Right, 3}, {Qt::Key_Down, 3}, {Qt::Key_Left, 1},
                          {Qt::Key_Up, 1},    {Qt::Key_End, 4},  {Qt::Key_Home, 0}};
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        QAccessibleInterface* bar = of(driver, form, kQualityBar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->text(QAccessible::Value), "egal");
        std::vector<QString> heard;
        platform::ui::setAnnouncementListener([&](QAccessibleEvent* event) {
            if (event->object() != driver.widget(form, kQualityBar)) return;
            if (event->type() == QAccessible::DescriptionChanged)
                heard.push_back(QAccessible::queryAccessibleInterface(event->object())->text(QAccessible::Value));
            if (event->type() == QAccessible::ValueChanged) heard.push_back(QStringLiteral("a bare number"));
        });
        for (const Case& c : cases) {
            SCOPED_TRACE(c.key);
            while (g_searchForm->qualityLevel < 2)
                driver.scroll(form, kQualityBar, platform::testing::ScrollAction::LineRight);
            while (g_searchForm->qualityLevel > 2)
                driver.scroll(form, kQualityBar, platform::testing::ScrollAction::LineLeft);
            ASSERT_TRUE(tabTo(form, kQualityBar));
            heard.clear();
            driver.pressKey(c.key);
            EXPECT_EQ(g_searchForm->qualityLevel, c.level);
            const QString shown = QString::fromStdU16String(driver.text(form, kQualityName));
            EXPECT_EQ(bar->text(QAccessible::Value), shown);
            EXPECT_EQ(bar->text(QAccessible::Description), shown);
            EXPECT_EQ(heard, std::vector<QString>{shown}) << "the new level is announced once";
        }
        platform::ui::setAnnouncementListener({});
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, TheInputPanelNeverCoversTheFocusedControl) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        ASSERT_TRUE(tabTo(form, kSearchTerm));
        ASSERT_TRUE(driver.inputPanelShown()) << "the search term raises the panel";
        HWND panel = FindWindowW(kInputPanelClass, nullptr);
        for (int i = 0; i < 16; ++i) {
            driver.pressKey(Qt::Key_Tab);
            if (!driver.inputPanelShown()) continue;
            RECT covered{}, focused{};
            GetWindowRect(panel, &covered);
            GetWindowRect(GetFocus(), &focused);
            const QRect a(QPoint(covered.left, covered.top), QPoint(covered.right - 1, covered.bottom - 1));
            const QRect b(QPoint(focused.left, focused.top), QPoint(focused.right - 1, focused.bottom - 1));
            EXPECT_FALSE(a.contains(b.center())) << "control " << GetDlgCtrlID(GetFocus()) << " lies under the panel";
        }
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, EveryScreenOpensWithTheFocusOnItsFirstTabStop) {
    struct Way {
        int row; // of the main menu
        int screen;
        int first;
    };
    const Way ways[] = {{kSearchRow, kSearchFormDialog, kStartButton},
                        {kGrapesRow, kGrapesDialog, 1013},
                        {kTemperatureRow, kTemperatureDialog, kThermometer},
                        {kBookmarksRow, kResultsDialog, kTree},
                        {kCreditsLink, kCreditsDialog, 1046},
                        {kHelpLink, kHelpIndexDialog, 1048}};
    std::vector<int> seen;
    for (const Way& way : ways) {
        driver.onDialog(kMainMenuDialog, [&, way](HWND menu) {
            if (seen.empty()) {
                EXPECT_EQ(GetFocus(), GetDlgItem(menu, kSearchRow)) << "the main menu's first row";
            }
            driver.tap(menu, way.row);
        });
        driver.onDialog(way.screen, [&, way](HWND screen) {
            seen.push_back(way.screen);
            EXPECT_EQ(GetFocus(), GetDlgItem(screen, way.first)) << "screen " << way.screen << " has the focus on "
                                                                 << GetDlgCtrlID(GetFocus());
            if (way.screen == kHelpIndexDialog) {
                driver.tap(screen, 1036);
                return;
            }
            driver.tapDone();
        });
    }
    driver.onDialog(kHelpPageDialog, [&](HWND page) {
        seen.push_back(kHelpPageDialog);
        EXPECT_EQ(GetFocus(), GetDlgItem(page, 1046));
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
    EXPECT_EQ(seen.size(), 7u);
}


// The ring of pixels just around a control, where the focus frame lies.
std::vector<QRgb> ringAround(const QImage& device, const QRect& control) {
    std::vector<QRgb> ring;
    const QRect outer = control.adjusted(-1, -1, 1, 1).intersected(device.rect());
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (!control.adjusted(1, 1, -1, -1).contains(x, y)) ring.push_back(device.pixel(x, y));
    return ring;
}

TEST_F(AccessibilityTest, AFocusFrameShowsFromTheFirstKeyOnEveryControlThatTakesTheFocus) {
    auto checkScreen = [&](HWND screen, const char* name) {
        SCOPED_TRACE(name);
        // Opened by a tap: the first tab stop has the focus and shows nothing.
        QWidget* first = QApplication::focusWidget();
        ASSERT_NE(first, nullptr);
        const QRect firstArea = onDevice(first);
        const std::vector<QRgb> tapped = ringAround(driver.grabDevice(1), firstArea);
        // Round the tab chain once: each control framed while it has the focus, not after.
        std::vector<std::pair<QWidget*, std::vector<QRgb>>> framed;
        for (int i = 0; i < 40; ++i) {
            driver.pressKey(Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            framed.push_back({focus, ringAround(driver.grabDevice(1), onDevice(focus))});
            if (focus == first) break;
        }
        ASSERT_EQ(framed.back().first, first) << "Tab comes round";
        EXPECT_TRUE(framed.back().second != tapped) << "no frame on the first tab stop after a key";
        driver.pressKey(Qt::Key_Tab);
        const QImage unfocused = driver.grabDevice(1);
        for (const auto& [control, ring] : framed) {
            if (control == QApplication::focusWidget()) continue;
            QAccessibleInterface* node = QAccessible::queryAccessibleInterface(control);
            EXPECT_TRUE(ring != ringAround(unfocused, onDevice(control)))
                << "no focus frame on " << node->text(QAccessible::Name).toStdString();
        }
        EXPECT_TRUE(ringAround(unfocused, firstArea) == tapped) << "the frame leaves with the focus";
        (void)screen;
    };
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        driver.tapAt(menu, 230, 200); // a tap on the empty page: cues off
        checkScreen(menu, "main menu");
        driver.tap(menu, kSearchRow);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        checkScreen(form, "search form");
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}


// ---- What the reader hears of changes ----

TEST_F(AccessibilityTest, EveryComboBoxReadsItsChoiceAndAnnouncesANewOne) {
    struct Case {
        int row; // of the main menu
        int screen;
        int combo;
    };
    const Case cases[] = {{kSearchRow, kSearchFormDialog, kCountryList},
                          {kGrapesRow, kGrapesDialog, 1013},
                          {kGrapesRow, kGrapesDialog, 1014},
                          {kTemperatureRow, kTemperatureDialog, kWineKind}};
    for (const Case& c : cases) {
        driver.onDialog(kMainMenuDialog, [&, c](HWND menu) { driver.tap(menu, c.row); });
        driver.onDialog(c.screen, [&, c](HWND screen) {
            SCOPED_TRACE(c.combo);
            QAccessibleInterface* combo = of(driver, screen, c.combo);
            ASSERT_NE(combo, nullptr);
            ASSERT_NE(combo->textInterface(), nullptr);
            std::vector<QString> spoken;
            platform::ui::setAnnouncementListener([&](QAccessibleEvent* event) {
                QAccessibleInterface* node = event->accessibleInterface();
                if (event->type() == QAccessible::ObjectShow && node && node->role() == QAccessible::Notification)
                    spoken.push_back(node->text(QAccessible::Name));
            });
            ASSERT_TRUE(tabTo(screen, c.combo));
            const LRESULT before = SendDlgItemMessageW(screen, c.combo, CB_GETCURSEL, 0, 0);
            driver.pressKey(Qt::Key_Down);
            EXPECT_NE(SendDlgItemMessageW(screen, c.combo, CB_GETCURSEL, 0, 0), before);
            QString shown = QString::fromStdU16String(driver.text(screen, c.combo));
            if (shown.trimmed().isEmpty()) shown = QStringLiteral("Leerzeile"); // the empty choice
            EXPECT_EQ(combo->text(QAccessible::Value), shown);
            EXPECT_EQ(combo->textInterface()->text(0, combo->textInterface()->characterCount()), shown);
            EXPECT_TRUE(combo->text(QAccessible::Description).isEmpty()) << "the choice is read once";
            ASSERT_FALSE(spoken.empty());
            EXPECT_EQ(spoken.front(), shown) << "the new choice is spoken first";
            EXPECT_FALSE(combo->text(QAccessible::Name).contains(QLatin1Char('\n')))
                << combo->text(QAccessible::Name).toStdString();
            platform::ui::setAnnouncementListener({});
            driver.tapDone();
        });
    }
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, TheTreeReadsItsCurrentRowItsBranchesAndTheEntrysOrigin) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.type(form, kSearchTerm, u"Chablis");
        driver.tap(form, kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        QAccessibleInterface* tree = of(driver, results, kTree);
        ASSERT_NE(tree, nullptr);
        struct Heard {
            QAccessible::Event type;
            QString row;
            bool expanded;
        };
        std::vector<Heard> heard;
        platform::ui::setAnnouncementListener([&](QAccessibleEvent* event) {
            if (event->object() != driver.widget(results, kTree) || event->child() < 0) return;
            QAccessibleInterface* cell = tree->child(event->child());
            if (cell) heard.push_back({event->type(), cell->text(QAccessible::Name), cell->state().expanded != 0});
        });
        ASSERT_TRUE(tabTo(results, kTabs)); // the focus elsewhere first
        heard.clear();
        ASSERT_TRUE(tabTo(results, kTree));
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back().type, QAccessible::Focus);
        EXPECT_EQ(heard.back().row.toStdU16String(), driver.selectedTreeLabel(results, kTree));
        driver.pressKey(Qt::Key_Home);
        heard.clear();
        driver.pressKey(Qt::Key_Right);
        ASSERT_FALSE(heard.empty());
        EXPECT_EQ(heard.back().type, QAccessible::StateChanged);
        EXPECT_TRUE(heard.back().expanded) << heard.back().row.toStdString();
        driver.pressKey(Qt::Key_Left);
        EXPECT_EQ(heard.back().type, QAccessible::StateChanged);
        EXPECT_FALSE(heard.back().expanded);
        platform::ui::setAnnouncementListener({});
        driver.selectTreeItem(results, kTree, {u"Weiß", kChablis});
        EXPECT_EQ(tree->text(QAccessible::Description).toStdU16String(), driver.text(results, kHeaderLine));
        EXPECT_FALSE(tree->text(QAccessible::Description).isEmpty());
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

TEST_F(AccessibilityTest, TheBookmarkBoxToggledByAReaderDoesWhatATapDoes) {
    struct Outcome {
        bool checked;
        bool saveShown;
        std::u16string description;
        std::vector<std::u16string> boxes;
    };
    // An entry without a bookmark (Chablis, found by search) and one with (the Rioja, in bookmark mode).
    auto toggle = [&](bool bookmarked, bool byReader) {
        Outcome outcome;
        driver.clearMessageBoxes();
        driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, bookmarked ? kBookmarksRow : kSearchRow); });
        if (!bookmarked)
            driver.onDialog(kSearchFormDialog, [&](HWND form) {
                driver.type(form, kSearchTerm, u"Chablis");
                driver.tap(form, kStartButton);
            });
        driver.onDialog(kResultsDialog, [&](HWND results) {
            if (bookmarked)
                driver.selectTreeItem(results, kTree, {u"Lesezeichen", u"Für Sonntag"});
            else
                driver.selectTreeItem(results, kTree, {u"Weiß", kChablis});
            driver.selectTab(results, kTabs, 2);
            driver.answerNext(IDNO); // keep the bookmark
            if (byReader) {
                EXPECT_TRUE(act(of(driver, results, kBookmarkBox), QAccessibleActionInterface::toggleAction()));
                driver.pump(300);
            } else {
                driver.tap(results, kBookmarkBox);
            }
            outcome.checked = driver.checked(results, kBookmarkBox);
            outcome.saveShown = driver.visible(results, kSaveButton);
            outcome.description = driver.text(results, kDescriptionEdit);
            driver.tapDone();
        });
        if (!bookmarked) driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        EXPECT_EQ(driver.pendingSteps(), 0u);
        for (const auto& box : driver.messageBoxes())
            outcome.boxes.push_back(box.caption);
        createGlobalObjects();
        return outcome;
    };
    for (bool bookmarked : {false, true}) {
        SCOPED_TRACE(bookmarked ? "with a bookmark" : "without a bookmark");
        const Outcome tapped = toggle(bookmarked, false);
        const Outcome read = toggle(bookmarked, true);
        EXPECT_EQ(read.checked, tapped.checked);
        EXPECT_EQ(read.saveShown, tapped.saveShown);
        EXPECT_EQ(read.description, tapped.description);
        EXPECT_EQ(read.boxes, tapped.boxes);
        EXPECT_EQ(tapped.boxes.empty(), !bookmarked) << "the delete question comes for a bookmark";
        EXPECT_TRUE(bookmarked || (read.saveShown && !read.description.empty()));
    }
}


TEST_F(AccessibilityTest, TabReachesOnlyControlsOfTheShownPage) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, kSearchRow); });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.type(form, kSearchTerm, u"Chablis");
        driver.tap(form, kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        driver.selectTreeItem(results, kTree, {u"Weiß", kChablis});
        struct Page {
            int tab;
            int shown;  // reached by Tab
            int hidden; // lies under it, never reached
        };
        for (const Page& page : {Page{0, kInfoArea, kVintageArea}, Page{1, kVintageArea, kInfoArea},
                                 Page{2, kDescriptionEdit, kVintageArea}}) {
            SCOPED_TRACE(page.tab);
            driver.selectTab(results, kTabs, page.tab);
            std::vector<int> reached;
            for (int i = 0; i < 12; ++i) {
                driver.pressKey(Qt::Key_Tab);
                reached.push_back(GetDlgCtrlID(GetFocus()));
                EXPECT_TRUE(driver.visible(GetFocus())) << "Tab reached the hidden control " << reached.back();
            }
            EXPECT_NE(std::find(reached.begin(), reached.end(), page.shown), reached.end());
            EXPECT_EQ(std::find(reached.begin(), reached.end(), page.hidden), reached.end());
            EXPECT_TRUE(of(driver, results, page.hidden)->state().invisible) << "a reader finds what lies under";
        }
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}


// Where the focus goes after every key, screen by screen: Tab goes round the tab stops in template
// order from the first one (focused when the screen opens), Shift+Tab goes back the same way.
TEST_F(AccessibilityTest, KeyboardJourneyOfEveryScreen) {
    struct Journey {
        int row; // of the main menu; 0 for the main menu itself
        int screen;
        std::vector<int> chain; // from the first tab stop
    };
    const Journey journeys[] = {
        {0, kMainMenuDialog, {kSearchRow, kCreditsLink, kHelpLink, kGrapesRow, kTemperatureRow, kBookmarksRow}},
        {kSearchRow, kSearchFormDialog, {kStartButton, 1078, kSearchTerm, kCountryList, 1014, 1015, 1016, 1017, 1018,
                                         1037, 1038, 1039, 1040, kQualityBar, 1022}},
        {kGrapesRow, kGrapesDialog, {1013, 1014, 1047, 1046}},
        {kTemperatureRow, kTemperatureDialog, {kThermometer, kWineKind}},
        {kCreditsLink, kCreditsDialog, {1046}},
        {kHelpLink, kHelpIndexDialog, {1048, 1036, 1026, 1006}},
    };
    auto walkChain = [&](HWND screen, const std::vector<int>& chain) {
        std::vector<int> forwards, backwards;
        forwards.push_back(GetDlgCtrlID(GetFocus()));
        for (std::size_t i = 0; i < chain.size(); ++i) {
            driver.pressKey(Qt::Key_Tab);
            forwards.push_back(GetDlgCtrlID(GetFocus()));
        }
        for (std::size_t i = 0; i < chain.size(); ++i) {
            driver.pressKey(Qt::Key_Tab, Qt::ShiftModifier);
            backwards.push_back(GetDlgCtrlID(GetFocus()));
        }
        std::vector<int> round = chain;
        round.push_back(chain.front()); // and round again
        EXPECT_EQ(forwards, round);
        std::vector<int> back(round.rbegin() + 1, round.rend());
        EXPECT_EQ(backwards, back);
        EXPECT_EQ(platform::activeDialog(), screen);
    };
    for (const Journey& journey : journeys) {
        if (journey.row == 0) {
            driver.onDialog(kMainMenuDialog, [&, journey](HWND menu) {
                SCOPED_TRACE("main menu");
                walkChain(menu, journey.chain);
            });
            continue;
        }
        driver.onDialog(kMainMenuDialog, [&, journey](HWND menu) {
            ASSERT_TRUE(tabTo(menu, journey.row));
            driver.pressKey(Qt::Key_Return);
        });
        driver.onDialog(journey.screen, [&, journey](HWND screen) {
            SCOPED_TRACE(journey.screen);
            walkChain(screen, journey.chain);
            driver.pressKey(Qt::Key_Escape);
        });
    }
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.pressKey(Qt::Key_Escape); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(driver.pendingSteps(), 0u);
}

} // namespace
