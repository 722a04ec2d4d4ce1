#pragma once

#include <QByteArray>
#include <QList>

namespace mtz {

// Runs one command line (without the program name), each argument as the
// system gave it, and returns the exit status: 0 done, 1 problems found, 2 a
// wrong command line.
int programa(const QList<QByteArray>& argumentos);

}  // namespace mtz
