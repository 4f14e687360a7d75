// The pointers alone: constant-initialised to null before any dynamic initialisation, so the
// order in which translation units start does not matter here. The objects are made by the
// program's top, in one file of its own, because C++ orders creation only within one unit.
#include "screen/globals.h"

Database* g_database = nullptr;
TitledScreen* g_helpIndex = nullptr;
TitledScreen* g_helpBookmarks = nullptr;
TitledScreen* g_helpTemperature = nullptr;
TitledScreen* g_helpGrapes = nullptr;
TitledScreen* g_helpWines = nullptr;
TitledScreen* g_credits = nullptr;
Application* g_application = nullptr;
SearchForm* g_searchForm = nullptr;
TitledScreen* g_grapeVarieties = nullptr;
ResultsState* g_resultsState = nullptr;
TemperatureScreen* g_temperatureScreen = nullptr;
Utility* g_utility = nullptr;
