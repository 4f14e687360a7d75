// The program: everything happens in runTalvino, which tests can run the same way.
#include "app/program.h"

int main(int argc, char** argv) {
    return runTalvino(argc, argv);
}
