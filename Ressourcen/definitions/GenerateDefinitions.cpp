// Build tool: turns the readable definition table into the binary
// definition file that the program reads at start-up.
#include "DefinitionFile.h"
#include "DefinitionTable.h"
#include "Exceptions.h"

#include <QString>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <definition table> <definition file>\n", argv[0]);
        return 2;
    }
    try {
        const std::vector<TModul> definitions = ReadDefinitionTable(QString::fromLocal8Bit(argv[1]));
        if (!WriteDefinitionFile(QString::fromLocal8Bit(argv[2]), definitions)) {
            std::fprintf(stderr, "cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const Exception &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
