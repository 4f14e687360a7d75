#include "app/command_line.h"

#include <gtest/gtest.h>
#include <utility>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_catalogue.h"

namespace {

CommandLine parse(std::vector<std::string> arguments) {
    std::vector<const char*> argv = {"talvino"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NothingRunsTheProgramOnTheCatalogueItFindsItself) {
    const CommandLine options = parse({});
    EXPECT_EQ(options.action, CommandLine::Action::Run);
    EXPECT_EQ(options.scale, 0);
    EXPECT_TRUE(options.catalogue.empty());
}

TEST(CommandLine, ScaleAndCatalogueInBothSpellings) {
    TestCatalogue catalogue;
    const std::string path = catalogue.build();
    // Both ends of the range the help names are taken, not only a value inside it.
    for (const std::string scale : {"1", "3", "4"}) {
        for (const auto& arguments : std::vector<std::vector<std::string>>{
                 {"--scale", scale, "--catalogue", path}, {"--scale=" + scale, "--catalogue=" + path}}) {
            const CommandLine options = parse(arguments);
            EXPECT_EQ(options.action, CommandLine::Action::Run) << options.error;
            EXPECT_EQ(options.scale, std::stoi(scale));
            EXPECT_EQ(options.catalogue, path);
        }
    }
}

TEST(CommandLine, ScaleMayHaveAFractionWithPointOrComma) {
    const std::pair<const char*, double> scales[] = {{"1", 1}, {"4", 4}, {"1.5", 1.5}, {"1,5", 1.5},
                                                     {"2.25", 2.25}, {"3,1", 3.1}, {"4.0", 4}};
    for (const auto& [text, scale] : scales) {
        const CommandLine options = parse({"--scale", text});
        EXPECT_EQ(options.action, CommandLine::Action::Run) << text << ": " << options.error;
        EXPECT_DOUBLE_EQ(options.scale, scale) << text;
    }
}

TEST(CommandLine, ARelativeCatalogueBecomesAbsolute) {
    TestCatalogue catalogue;
    const std::string path = catalogue.build();
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(catalogue.folder());
    const CommandLine options = parse({"--catalogue", "./talvino2006_db.cdb"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(options.action, CommandLine::Action::Run) << options.error;
    EXPECT_EQ(std::filesystem::path(options.catalogue), std::filesystem::canonical(path));
}

TEST(CommandLine, HelpAndVersionWinOverWhatFollows) {
    EXPECT_EQ(parse({"--help", "--bogus"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::Help);
    EXPECT_EQ(parse({"--version"}).action, CommandLine::Action::Version);
    EXPECT_NE(helpText().find("--scale N"), std::string::npos);
    EXPECT_EQ(versionText().rfind("talvino ", 0), 0u);
}

TEST(CommandLine, WrongCallsSayWhatIsWrongInGermanAndEnglish) {
    struct Wrong {
        std::vector<std::string> arguments;
        const char* german;
        const char* english;
    };
    const Wrong calls[] = {
        {{"--bogus"}, "unbekannte Option: --bogus", "unknown option: --bogus"},
        {{"-x"}, "unbekannte Option: -x", "unknown option: -x"},
        {{"wein"}, "unerwartetes Argument: wein", "unexpected argument: wein"},
        {{"--scale", "0"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "5"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "12"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale=zwei"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "4.5"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "0.5"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "1."}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "2.125"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--scale", "2x"}, "--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"},
        {{"--catalogue"}, "--catalogue braucht eine Datei", "--catalogue needs a file"},
        {{"--catalogue="}, "--catalogue braucht eine Datei", "--catalogue needs a file"},
        {{"--catalogue", "/nonexistent/k.cdb"},
         "Katalog nicht gefunden: /nonexistent/k.cdb",
         "catalogue not found: /nonexistent/k.cdb"},
        {{"--catalogue", "/tmp"}, "Katalog ist keine Datei: /tmp", "catalogue is not a file: /tmp"},
    };
    for (const Wrong& call : calls) {
        const CommandLine options = parse(call.arguments);
        EXPECT_EQ(options.action, CommandLine::Action::Error) << call.arguments[0];
        EXPECT_EQ(options.error, std::string("talvino: ") + call.german + " / " + call.english);
    }
}

} // namespace
