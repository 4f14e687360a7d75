// The program's global objects: one per screen and three shared ones. Screens reach each other
// only through these pointers; the program's top creates the objects at static initialisation in
// a fixed order and deletes them when the main menu ends (app/global_objects.h).
#pragma once

class Database;
class Utility;
struct Application;
struct SearchForm;
struct ResultsState;
struct TitledScreen;
struct TemperatureScreen;

extern Database* g_database;
extern TitledScreen* g_helpIndex;
extern TitledScreen* g_helpBookmarks;
extern TitledScreen* g_helpTemperature;
extern TitledScreen* g_helpGrapes;
extern TitledScreen* g_helpWines;
extern TitledScreen* g_credits;
extern Application* g_application;
extern SearchForm* g_searchForm;
extern TitledScreen* g_grapeVarieties;
extern ResultsState* g_resultsState;
extern TemperatureScreen* g_temperatureScreen;
extern Utility* g_utility;
