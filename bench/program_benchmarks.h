// The common end of the benchmarks that drive the program's own screens.
#pragma once

#include <benchmark/benchmark.h>

#include "db/database.h"
#include "platform/win32.h"
#include "screen/globals.h"

// Runs the benchmarks the command line asks for, then closes the catalogue and gives back the
// query buffer and the module path the set-up took.
inline void runProgramBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_database->closeCatalogue();
    g_database->freeQueryBuffer();
    platform::overrideModuleFileName(nullptr);
}
