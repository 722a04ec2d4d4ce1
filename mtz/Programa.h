#pragma once

#include <QStringList>

namespace mtz {

// Runs one command line (without the program name) and returns the exit
// status: 0 done, 1 problems found, 2 a wrong command line.
int programa(const QStringList& argumentos);

}  // namespace mtz
