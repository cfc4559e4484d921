// TOMARIO: a desktop catalogue of books.
#include "application.h"
#include "tomstart.h"
#include "ucxtranslate.h"

int main(int argc, char** argv)
{
    // The components' texts are Italian before anything exists.
    ApplyInterfaceTexts();
    Application app(argc, argv);
    TomarioProgram program({QCoreApplication::applicationFilePath()});
    if (!program.start())
        return 1;
    return program.run();
}
