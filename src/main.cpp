// TOMARIO: a desktop catalogue of books.
#include "application.h"
#include "tomstart.h"

int main(int argc, char** argv)
{
    Application app(argc, argv);
    TomarioProgram program({QCoreApplication::applicationFilePath()});
    if (!program.start())
        return 1;
    return program.run();
}
