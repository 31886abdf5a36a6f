#include "app/app.h"

int main(int argc, char** argv) {
    runProgram(&argc, argv);
    return 0;
}
