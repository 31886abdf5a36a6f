#include "app/app.h"
#include "app/console.h"

int main(int argc, char** argv) {
    connectConsoleOutput();
    runProgram(&argc, argv);
    return 0;
}
