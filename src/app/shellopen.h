#pragma once

#include <QString>

// Hands a file to the desktop for its default action (a document opens in
// the program registered for its type) and returns at once, without waiting
// for that program and without looking at the desktop's answer. A bare or
// relative fileName is looked up in folder; the texts are used whole, however
// long.
//
// The desktop's default action for a document takes no command-line
// parameters and places its window itself, so parameters and showCommand
// (5: the window in its current size and place) are accepted for the callers'
// sake and have no effect.
void ShellOpen(
    const QString& fileName, const QString& parameters, const QString& folder, int showCommand);
