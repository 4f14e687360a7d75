// The lookup of a grape variety's description.
#include <gtest/gtest.h>

#include <string>

#include "chapters/grape_varieties.h"

namespace {

TEST(GrapeDescriptionQuery, MatchesEveryNameThatStartsWithTheChosenOne) {
    EXPECT_EQ(grapes::descriptionQuery(u"Riesling"),
              u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'Riesling*' ");
}

TEST(GrapeDescriptionQuery, DoublesApostrophesInTheName) {
    EXPECT_EQ(grapes::descriptionQuery(u"Nero d'Avola"),
              u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'Nero d''Avola*' ");
    EXPECT_EQ(grapes::descriptionQuery(u"''"),
              u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE '''''*' ");
}

TEST(GrapeDescriptionQuery, KeepsUmlautsAndAccentsAsTheyAre) {
    EXPECT_EQ(grapes::descriptionQuery(u"Grüner Veltliner"),
              u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'Grüner Veltliner*' ");
}

TEST(GrapeDescriptionQuery, IsCutToFitItsBuffer) {
    const std::u16string name(300, u'a');
    const std::u16string sql = grapes::descriptionQuery(name);
    EXPECT_EQ(sql.size(), static_cast<std::size_t>(grapes::kQueryChars - 1));
    const std::u16string prefix = u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE '";
    EXPECT_EQ(sql.substr(0, prefix.size()), prefix);
    EXPECT_EQ(sql.back(), u'a');
}

} // namespace
