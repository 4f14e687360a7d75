// "Suche starten" on the real search form, from the tap's command to the statement in the query
// buffer and the animation stopped again, with a country chosen, on a catalogue of 100,000
// entries. No results screen is opened, so the figure is the form's own share of a search.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "screen/application.h"
#include "screen/globals.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/wait_animation.h"
#include "bench/program_benchmarks.h"

namespace {

std::filesystem::path catalogueFolder() {
    return std::filesystem::temp_directory_path() / ("talvino-bench-form-" + std::to_string(::getpid()));
}

// The form with a country, a region, a term, two colours and level 2, as a user would leave it.
HWND openFilledForm() {
    const HWND form = platform::createDialog(
        talvinoModule(),
        static_cast<LPCDLGTEMPLATEW>(LoadResource(
            talvinoModule(), FindResourceW(talvinoModule(), MAKEINTRESOURCEW(kSearchFormDialog), RT_DIALOG))),
        nullptr, SearchFormProc, 0);
    if (!form) return nullptr;
    const HWND countries = GetDlgItem(form, search_form::kCountryList);
    SendMessageW(countries, CB_SETCURSEL, 1, 0);
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(search_form::kCountryList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(countries));
    SendDlgItemMessageW(form, search_form::kRegionList, CB_SETCURSEL, 1, 0);
    SetDlgItemTextW(form, search_form::kSearchTerm, u"Riesling");
    CheckDlgButton(form, search_form::kRedBox, BST_CHECKED);
    CheckDlgButton(form, search_form::kWhiteBox, BST_CHECKED);
    SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2),
                 reinterpret_cast<LPARAM>(GetDlgItem(form, search_form::kQualityBar)));
    return form;
}

void BM_TapSucheStartenToStatement(benchmark::State& state) {
    const HWND form = openFilledForm();
    if (!form) {
        state.SkipWithError("the search form did not open");
        return;
    }
    // The animation thread would sleep out its 80 ms before the next tap could start a new one.
    wait_animation::setPause([](DWORD) {});
    const HWND button = GetDlgItem(form, search_form::kStartButton);
    for (auto _ : state) {
        SendMessageW(form, WM_COMMAND, MAKEWPARAM(search_form::kStartButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        benchmark::DoNotOptimize(g_database->queryBuffer[0]);
    }
    platform::destroyDialog(form);
    wait_animation::setPause(nullptr);
    state.SetLabel(std::string(g_database->queryBuffer, g_database->queryBuffer + 40).c_str());
}
BENCHMARK(BM_TapSucheStartenToStatement)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    platform::prepareDevice();

    const std::filesystem::path folder = catalogueFolder();
    std::filesystem::create_directories(folder);
    const std::string command = std::string(TALVINO_CATALOGUE_TOOL) + " synth 100000 '" +
                                (folder / "talvino2006_db.cdb").string() + "'";
    if (std::system(command.c_str()) != 0) return 1;
    platform::overrideModuleFileName((folder / "talvino").u16string().c_str());
    g_application->instance = talvinoModule();
    g_database->allocateQueryBuffer();
    if (!g_database->openCatalogue()) return 1;

    runProgramBenchmarks(argc, argv);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    platform::destroyDeviceWindow();
    return 0;
}
