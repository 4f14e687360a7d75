// The program as a screen reader and a keyboard user meet it: every screen walked through Qt's
// accessibility interfaces (what AT-SPI hands to Orca), accessible actions compared with taps,
// and whole journeys made with keys alone.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/global_objects.h"
#include "app/main_menu.h"
#include "chapters/temperature_layout.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
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
constexpr int kThermometer = 1054;
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
    }
    void TearDown() override { createGlobalObjects(); }
    int runProgram() { return WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW); }

    // What a reader finds on the screen on top: every node to act on named, the expected nodes
    // there with their roles, and nothing of the screens below it showing.
    void walk(const char* screen, const std::vector<Expected>& expected) {
        SCOPED_TRACE(screen);
        ++walks;
        for (QAccessibleInterface* node : deviceNodes()) {
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
        walk("bookmark mode", {{QAccessible::Tree, "Suchergebnis"}});
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
        // A band pressed by the reader, then the same band tapped after another one.
        ASSERT_TRUE(act(find(QAccessible::Button, QStringLiteral("18°C")),
                        QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE(reads(temperatureText(18))) << dialog->text(QAccessible::Description).toStdString();
        ASSERT_TRUE(
            act(find(QAccessible::Button, QStringLiteral("8°C")), QAccessibleActionInterface::pressAction()));
        EXPECT_TRUE(reads(temperatureText(8))) << dialog->text(QAccessible::Description).toStdString();
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
        driver.tapDone();
    });
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

} // namespace
