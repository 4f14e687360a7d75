// The fixed text rows of the chapters fit their lists on the real screens: the lists neither wrap
// nor scroll sideways, so a row wider than the list shows the reader half a word at its right edge.
// Only rows whose wording is prescribed may be wider.
#include <QFontMetrics>
#include <QListWidget>
#include <QStyle>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "chapters/chapter_screens.h"
#include "platform/shell/device_window.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"

namespace {

struct ListCase {
    const char* name;
    int dialogTemplate;
    DLGPROC proc;
    const TextRows* rows;
    // Rows whose wording is prescribed word for word; they are not reworded to fit.
    std::vector<std::u16string> prescribed;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

// What the reader sees of a row: a blank at its end shows nothing, even when cut off.
QString visiblePart(const std::u16string& row) {
    const std::size_t end = row.find_last_not_of(u' ');
    return QString::fromStdU16String(end == std::u16string::npos ? std::u16string() : row.substr(0, end + 1));
}

std::string utf8(const std::u16string& text) {
    return QString::fromStdU16String(text).toStdString();
}

class RowsFit : public ChapterScreenTest, public ::testing::WithParamInterface<ListCase> {
  protected:
    void SetUp() override {
        ChapterScreenTest::SetUp();
        dialog = driver.open(talvinoModule(), GetParam().dialogTemplate, GetParam().proc);
        ASSERT_NE(dialog, nullptr);
        list = qobject_cast<QListWidget*>(driver.widget(dialog, 1046));
        ASSERT_NE(list, nullptr);
        driver.pump();
    }
    void TearDown() override {
        if (dialog) driver.close(dialog);
    }

    // The width a row's text may take: the visible part of the list less the item's text margins,
    // and a few pixels so that no row touches the edge (a face with slightly wider glyphs than the
    // one measured here still shows whole words).
    int textWidth() const {
        const int margin = list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        return list->viewport()->width() - 2 * margin - kSpare;
    }
    static constexpr int kSpare = 4;

    HWND dialog = nullptr;
    QListWidget* list = nullptr;
};

TEST_P(RowsFit, EveryRowNotPrescribedFitsTheVisibleWidth) {
    const ListCase& c = GetParam();
    const std::vector<std::u16string> rows = driver.items(dialog, 1046);
    ASSERT_EQ(rows.size(), static_cast<std::size_t>(c.rows->count));
    const std::set<std::u16string> prescribed(c.prescribed.begin(), c.prescribed.end());
    const QFontMetrics metrics(list->font());
    const int available = textWidth();
    ASSERT_GT(available, 100);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (prescribed.count(rows[i])) continue;
        const int width = metrics.horizontalAdvance(visiblePart(rows[i]));
        EXPECT_LE(width, available) << c.name << " row " << i + 1 << " (" << width << " of " << available
                                    << " px): " << utf8(rows[i]);
    }
}

// The device is drawn at scale 2 on most desktops, where the font is laid out at twice the size:
// the widest row that fits at scale 1 must not end further right there.
TEST_P(RowsFit, TheWidestRowFitsAtScaleTwoToo) {
    const QFontMetrics metrics(list->font());
    int widest = -1, widestWidth = 0;
    for (int i = 0; i < list->count(); ++i) {
        const int width = metrics.horizontalAdvance(visiblePart(list->item(i)->text().toStdU16String()));
        if (width <= textWidth() && width > widestWidth) {
            widest = i;
            widestWidth = width;
        }
    }
    ASSERT_GE(widest, 0);
    list->scrollToItem(list->item(widest));
    const QRect row = list->visualItemRect(list->item(widest))
                          .translated(list->viewport()->mapTo(platform::deviceWindow(), QPoint(0, 0)));
    const QImage image = driver.grabDevice(2);
    int inkRight = 0;
    for (int y = 2 * row.top(); y < 2 * row.bottom(); ++y)
        for (int x = 2 * row.left(); x < 2 * row.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128) inkRight = std::max(inkRight, x);
    const int limit = row.left() + list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1 +
                      textWidth();
    EXPECT_GT(inkRight, 2 * row.left() + widestWidth) << "the row is drawn";
    EXPECT_LE(inkRight, 2 * limit) << utf8(list->item(widest)->text().toStdU16String());
}

// The exemption covers rows that are really shown, so it cannot hide a reworded row.
TEST_P(RowsFit, PrescribedRowsAreShownWordForWord) {
    const ListCase& c = GetParam();
    const std::vector<std::u16string> rows = driver.items(dialog, 1046);
    for (const std::u16string& fixed : c.prescribed)
        EXPECT_NE(std::find(rows.begin(), rows.end(), fixed), rows.end()) << c.name << ": " << utf8(fixed);
}

// The measure above holds only while a row stays one line, cut at the edge: no wrapping, no
// sideways scrolling, no ellipsis.
TEST_P(RowsFit, TheListShowsEachRowOnOneUnshortenedLine) {
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
    EXPECT_FALSE(list->wordWrap());
}

INSTANTIATE_TEST_SUITE_P(
    Chapters, RowsFit,
    ::testing::Values(
        ListCase{"GrapeIntroduction",
                 kGrapesDialog,
                 GrapeVarietiesProc,
                 &kGrapeIntroductionLines,
                 {u"In den vergangenen zwei Jahrzehnten", u"vollzog sich allenthalben ein grundlegender",
                  u"Sangiovese, Tempranillo"}},
        ListCase{"BookmarksHelp",
                 kHelpPageDialog,
                 HelpBookmarksProc,
                 &kHelpBookmarksRows,
                 {u"Lesezeichen", u"Hier können Sie Lesezeichen setzen,", u"Wenn Sie ein Lesezeichen setzen ",
                  u"Zusätzlich können Sie noch eine", u"Eine Liste der gespeicherten Lesezeichen"}},
        ListCase{"TemperatureHelp",
                 kHelpPageDialog,
                 HelpTemperatureProc,
                 &kHelpTemperatureRows,
                 {u"Die richtige Temperatur", u"Nichts tut einem Wein beim ", u"Weine angezeigt."}},
        ListCase{"GrapesHelp",
                 kHelpPageDialog,
                 HelpGrapesProc,
                 &kHelpGrapesRows,
                 {u"Rebsorten", u"In diesem Kapitel erhalten Sie Informationen",
                  u"zu den besten bzw. beliebtesten Rebsorten."}},
        ListCase{"WinesHelp",
                 kHelpPageDialog,
                 HelpWinesProc,
                 &kHelpWinesRows,
                 {u"Weine von A-Z",
                  u"Angaben in den Suchergebnissen",
                  u"Die Einträge im Weinführer enthalten",
                  u"Informationen verfügbar:",
                  u"1. Typ: ",
                  u"2. Qualität: ",
                  u"einfach: einfache Qualität für jeden Tag",
                  u"überdurchschnittlich: überdurchschnittlich",
                  u"bekannt: bekannt, berühmt",
                  u"erstklassig: erstklassig, anspruchsvoll, teuer",
                  u"Wenn Sie die Checkbox in der Suchmaske ",
                  u"dem Vermerk 'besonders gut' versehen.",
                  u"3. Jahrgang:",
                  u"a) International: Angegeben sind die ",
                  u"Es gibt folgende Kategorien: ",
                  u"- allgemein erhältliche, empfohlene",
                  u"- nach Angaben der jeweiligen Erzeuger ",
                  u"- genussreifer Jahrgang (andere ",
                  u"- bevorzugt zu genießender Jahrgang;",
                  u"- vorläufige Bewertung",
                  u"- baldiger Verbrauch, d. h. möglichst",
                  u"b) Deutschland: Die Jahrgangsangaben bei",
                  u"drei verschiedene Kategorien:",
                  u"- Klassischer, vollreifer Jahrgang mit ",
                  u"- Normaler, guter Jahrgang ohne besonders",
                  u"- Kühler Jahrgang mit im Allgemeinen ",
                  u"Nicht angegebene Jahrgänge sind in der",
                  u"(*) QmP - Qualitätswein mit Prädikat",
                  u"(**) QbA - Qualitätswein bestimmter ",
                  u"Anbaugebiete"}},
        ListCase{"Credits",
                 kCreditsDialog,
                 CreditsProc,
                 &kCreditRows,
                 {u"Programmierung", u"Konzept:", u"Programmierung:", u"Grafiken:"}}),
    [](const ::testing::TestParamInfo<ListCase>& param) { return std::string(param.param.name); });

} // namespace
