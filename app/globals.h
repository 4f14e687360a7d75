// The program's global objects: one per screen and three shared ones, created at static
// initialisation in a fixed order and deleted by the main menu when the program ends.
#pragma once

#include <string>
#include <vector>

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

// Creates every object that does not exist, in the order of creation. Static initialisation calls
// it once; a test that ran the main menu to its end calls it to start the program afresh.
void createGlobalObjects();

// Names of the objects in the order they were created since the program started.
const std::vector<std::string>& globalCreationLog();

// The main menu's teardown: deletes the screen objects in their order and sets every pointer to
// null, so that nothing can reach a deleted object.
void deleteScreenObjects();
void deleteDatabaseObject();
void deleteApplicationObject();
