// Creation and deletion of the program's global objects (declared in screen/globals.h): created
// at static initialisation in a fixed order, deleted by the main menu when the program ends.
#pragma once

#include <string>
#include <vector>

#include "screen/globals.h"

// Creates every object that does not exist, in the order of creation. Static initialisation calls
// it once; a test that ran the main menu to its end calls it to start the program afresh.
void createGlobalObjects();

// Names of the objects in the order they were created since the program started, with each
// deletion as "~name" where it happened.
const std::vector<std::string>& globalCreationLog();

// The main menu's teardown: deletes the screen objects in their order and sets every pointer to
// null, so that nothing can reach a deleted object.
void deleteScreenObjects();
void deleteDatabaseObject();
void deleteApplicationObject();
