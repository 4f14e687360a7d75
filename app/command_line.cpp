#include "app/command_line.h"

#include <sys/stat.h>

#include <cstring>
#include <filesystem>

namespace {

std::string bilingual(const std::string& german, const std::string& english) {
    return "talvino: " + german + " / " + english;
}

CommandLine failure(std::string error) {
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.error = std::move(error);
    return result;
}

// "--name value" and "--name=value" both give the value; null when it is missing.
const char* valueOf(const char* name, int argc, const char* const* argv, int& i) {
    const std::size_t length = std::strlen(name);
    if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') return argv[i] + length + 1;
    if (i + 1 < argc) return argv[++i];
    return nullptr;
}

bool isOption(const char* argument, const char* name) {
    const std::size_t length = std::strlen(name);
    return std::strncmp(argument, name, length) == 0 && (argument[length] == '\0' || argument[length] == '=');
}

// "2", "1.5" or, as Germans write it, "1,5": a number from 1 to 4 with at most two decimals;
// 0 for anything else.
double scaleValue(const char* text) {
    int whole = 0, fraction = 0, decimals = 0;
    const char* c = text;
    if (*c < '1' || *c > '4') return 0;
    whole = *c++ - '0';
    if (*c == '.' || *c == ',') {
        ++c;
        for (; *c >= '0' && *c <= '9' && decimals < 2; ++c, ++decimals)
            fraction = fraction * 10 + (*c - '0');
        if (decimals == 0) return 0;
    }
    if (*c != '\0') return 0;
    const double scale = whole + fraction / (decimals == 2 ? 100.0 : decimals == 1 ? 10.0 : 1.0);
    return scale <= 4 ? scale : 0;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine result;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
            result.action = CommandLine::Action::Help;
            return result;
        }
        if (std::strcmp(argument, "--version") == 0) {
            result.action = CommandLine::Action::Version;
            return result;
        }
        if (isOption(argument, "--scale")) {
            const char* value = valueOf("--scale", argc, argv, i);
            const double scale = value ? scaleValue(value) : 0;
            if (scale == 0)
                return failure(
                    bilingual("--scale braucht eine Zahl von 1 bis 4", "--scale needs a number from 1 to 4"));
            result.scale = scale;
            continue;
        }
        if (isOption(argument, "--catalogue")) {
            const char* value = valueOf("--catalogue", argc, argv, i);
            if (!value || !*value)
                return failure(bilingual("--catalogue braucht eine Datei", "--catalogue needs a file"));
            struct stat info {};
            if (::stat(value, &info) != 0)
                return failure(bilingual(std::string("Katalog nicht gefunden: ") + value,
                                         std::string("catalogue not found: ") + value));
            if (!S_ISREG(info.st_mode))
                return failure(bilingual(std::string("Katalog ist keine Datei: ") + value,
                                         std::string("catalogue is not a file: ") + value));
            std::error_code error;
            const std::filesystem::path absolute = std::filesystem::absolute(value, error);
            result.catalogue = error ? std::string(value) : absolute.lexically_normal().string();
            continue;
        }
        if (argument[0] == '-')
            return failure(bilingual(std::string("unbekannte Option: ") + argument,
                                     std::string("unknown option: ") + argument));
        return failure(bilingual(std::string("unerwartetes Argument: ") + argument,
                                 std::string("unexpected argument: ") + argument));
    }
    return result;
}

std::string helpText() {
    return "Aufruf: talvino [OPTION]...\n"
           "Talvino, ein Weinführer für einen kleinen Touchscreen, offline und auf Deutsch.\n"
           "\n"
           "  --catalogue DATEI  DATEI statt des Katalogs öffnen, den das Programm selbst findet;\n"
           "                     Lesezeichen werden in DATEI geschrieben\n"
           "  --scale N          das Gerät N-fach vergrößert in einem Fenster fester Größe\n"
           "                     zeichnen (1 bis 4, auch 1,5); ohne die Option füllt das\n"
           "                     Gerät das Fenster, wie groß es auch ist\n"
           "  --help             diese Hilfe zeigen\n"
           "  --version          die Version zeigen\n"
           "\n"
           "Das Schließen des Fensters, SIGTERM, SIGINT und SIGHUP beenden das Programm wie\n"
           "die Schaltfläche \"ok\" des Hauptmenüs. Rückgabewert 2: falscher Aufruf.\n"
           "\n"
           "Usage: talvino [OPTION]...\n"
           "Talvino, an offline German-language wine guide for a small touch screen.\n"
           "\n"
           "  --catalogue FILE   open FILE instead of the catalogue the program finds;\n"
           "                     bookmarks are written into FILE\n"
           "  --scale N          draw the device at N times its size in a window of fixed\n"
           "                     size (1 to 4, also 1.5); without it the device fills the\n"
           "                     window at any size\n"
           "  --help             show this help\n"
           "  --version          show the version\n"
           "\n"
           "Closing the window, SIGTERM, SIGINT and SIGHUP end the program like the main menu's\n"
           "\"ok\" button. Exit status 2: wrong command line.\n";
}

std::string versionText() {
    return std::string("talvino ") + TALVINO_VERSION + "\n";
}
